#include "public.sdk/source/vst/vstaudioeffect.h"

#include "pluginterfaces/base/ustring.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

class TestEffect : public AudioEffect
{
public:
	const ProcessSetup& setup () const { return processSetup; }
};

class AudioEffectTest : public testing::Test
{
protected:
	void SetUp () override
	{
		effect->addAudioInput (STR16 ("In"), SpeakerArr::kStereo);
		effect->addAudioOutput (STR16 ("Out"), SpeakerArr::kStereo, kAux, 0);
	}
	IPtr<TestEffect> effect = owned (new TestEffect);
};

ProcessSetup setupOf (int32 sampleSize)
{
	return ProcessSetup {kOffline, sampleSize, 512, 96000.0};
}

} // namespace

TEST_F (AudioEffectTest, AnswersAsTheSdkClass)
{
	EXPECT_STREQ (effect->isA (), "AudioEffect");
	EXPECT_TRUE (effect->isTypeOf ("Component"));
	for (const FUID* iid : {&IAudioProcessor::iid, &IProcessContextRequirements::iid, &IComponent::iid,
	                        &IPluginBase::iid, &IConnectionPoint::iid, &FUnknown::iid})
	{
		FUnknown* obj = nullptr;
		ASSERT_EQ (effect->queryInterface (iid->toTUID (), reinterpret_cast<void**> (&obj)), kResultOk);
		obj->release ();
	}
}

TEST_F (AudioEffectTest, ProcessingDefaults)
{
	EXPECT_EQ (effect->canProcessSampleSize (kSample32), kResultTrue);
	EXPECT_EQ (effect->canProcessSampleSize (kSample64), kResultFalse);
	EXPECT_EQ (effect->getLatencySamples (), 0u);
	EXPECT_EQ (effect->getTailSamples (), kNoTail);
	EXPECT_EQ (effect->getProcessContextRequirements (), 0u);
	EXPECT_EQ (effect->setProcessing (true), kNotImplemented);
	ProcessData data;
	EXPECT_EQ (effect->process (data), kResultOk);
	EXPECT_EQ (effect->setup ().symbolicSampleSize, kSample32);
}

TEST_F (AudioEffectTest, SetupProcessingStoresAnAcceptedSetup)
{
	ProcessSetup setup = setupOf (kSample32);
	EXPECT_EQ (effect->setupProcessing (setup), kResultOk);
	EXPECT_EQ (effect->setup ().processMode, kOffline);
	EXPECT_EQ (effect->setup ().maxSamplesPerBlock, 512);
	EXPECT_EQ (effect->setup ().sampleRate, 96000.0);
	EXPECT_EQ (effect->setup ().symbolicSampleSize, kSample32);
}

TEST_F (AudioEffectTest, SetupProcessingKeepsTheSampleSizeWhenRefused)
{
	ProcessSetup setup = setupOf (kSample64);
	EXPECT_EQ (effect->setupProcessing (setup), kResultFalse);
	EXPECT_EQ (effect->setup ().symbolicSampleSize, kSample32);
	EXPECT_EQ (effect->setup ().maxSamplesPerBlock, 512);
	EXPECT_EQ (effect->setup ().sampleRate, 96000.0);
}

TEST_F (AudioEffectTest, AddedBusesAreVisibleThroughTheComponent)
{
	ASSERT_EQ (effect->getBusCount (kAudio, kInput), 1);
	ASSERT_EQ (effect->getBusCount (kAudio, kOutput), 1);
	BusInfo info {};
	ASSERT_EQ (effect->getBusInfo (kAudio, kInput, 0, info), kResultOk);
	EXPECT_EQ (String ("In"), String (info.name));
	EXPECT_EQ (info.channelCount, 2);
	EXPECT_EQ (info.busType, kMain);
	EXPECT_EQ (info.flags, static_cast<uint32> (BusInfo::kDefaultActive));
	ASSERT_EQ (effect->getBusInfo (kAudio, kOutput, 0, info), kResultOk);
	EXPECT_EQ (info.busType, kAux);
	EXPECT_EQ (info.flags, 0u);

	EXPECT_NE (effect->getAudioInput (0), nullptr);
	EXPECT_EQ (effect->getAudioInput (1), nullptr);
	EXPECT_EQ (effect->getAudioInput (-1), nullptr);
	EXPECT_EQ (effect->getAudioOutput (1), nullptr);
}

TEST_F (AudioEffectTest, BusArrangementsAreSetWhenTheCountsMatch)
{
	SpeakerArrangement in = SpeakerArr::kMono;
	SpeakerArrangement out = SpeakerArr::k51;
	EXPECT_EQ (effect->setBusArrangements (&in, 1, &out, 1), kResultTrue);
	SpeakerArrangement arr = 0;
	ASSERT_EQ (effect->getBusArrangement (kInput, 0, arr), kResultTrue);
	EXPECT_EQ (arr, SpeakerArr::kMono);
	ASSERT_EQ (effect->getBusArrangement (kOutput, 0, arr), kResultTrue);
	EXPECT_EQ (arr, SpeakerArr::k51);
}

TEST_F (AudioEffectTest, BusArrangementsAreRefusedWhenTheCountsDiffer)
{
	SpeakerArrangement arrs[2] = {SpeakerArr::kMono, SpeakerArr::kMono};
	EXPECT_EQ (effect->setBusArrangements (arrs, 2, arrs, 1), kResultFalse);
	EXPECT_EQ (effect->setBusArrangements (arrs, 1, arrs, 0), kResultFalse);
	EXPECT_EQ (effect->setBusArrangements (nullptr, 1, arrs, 1), kInvalidArgument);
	SpeakerArrangement arr = 0;
	ASSERT_EQ (effect->getBusArrangement (kInput, 0, arr), kResultTrue);
	EXPECT_EQ (arr, SpeakerArr::kStereo);
	EXPECT_EQ (effect->getBusArrangement (kInput, 1, arr), kResultFalse);
	EXPECT_EQ (effect->getBusArrangement (kOutput, -1, arr), kResultFalse);
}

TEST_F (AudioEffectTest, TerminateRemovesTheBuses)
{
	ASSERT_EQ (effect->initialize (nullptr), kResultOk);
	EXPECT_EQ (effect->terminate (), kResultOk);
	EXPECT_EQ (effect->getBusCount (kAudio, kInput), 0);
	EXPECT_EQ (effect->getAudioInput (0), nullptr);
}
