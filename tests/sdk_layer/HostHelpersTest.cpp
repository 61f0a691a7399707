#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"
#include "public.sdk/source/vst/vstaudioeffect.h"

#include "pluginterfaces/base/ustring.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::vector<std::pair<int32, ParamValue>> pointsOf (IParamValueQueue& queue)
{
	std::vector<std::pair<int32, ParamValue>> points;
	for (int32 i = 0; i < queue.getPointCount (); ++i)
	{
		int32 offset = -1;
		ParamValue value = -1;
		EXPECT_EQ (queue.getPoint (i, offset, value), kResultTrue);
		points.emplace_back (offset, value);
	}
	return points;
}

} // namespace

TEST (ParameterValueQueue, KeepsPointsInOffsetOrderAndReplacesASharedOffset)
{
	ParameterValueQueue queue (7, 4);
	int32 index = -1;
	EXPECT_EQ (queue.addPoint (10, 0.1, index), kResultTrue);
	EXPECT_EQ (queue.addPoint (0, 0.0, index), kResultTrue);
	EXPECT_EQ (index, 0);
	EXPECT_EQ (queue.addPoint (5, 0.5, index), kResultTrue);
	EXPECT_EQ (index, 1);
	EXPECT_EQ (queue.addPoint (5, 0.55, index), kResultTrue);
	EXPECT_EQ (index, 1);
	EXPECT_EQ (queue.getParameterId (), 7u);
	EXPECT_EQ (pointsOf (queue), (std::vector<std::pair<int32, ParamValue>> {{0, 0.0}, {5, 0.55}, {10, 0.1}}));
}

TEST (ParameterValueQueue, RefusesPointsBeyondItsCapacityAndBadIndices)
{
	ParameterValueQueue queue (1, 2);
	int32 index = -1;
	ASSERT_EQ (queue.addPoint (0, 0.2, index), kResultTrue);
	ASSERT_EQ (queue.addPoint (1, 0.3, index), kResultTrue);
	EXPECT_EQ (queue.addPoint (2, 0.4, index), kResultFalse);
	EXPECT_EQ (queue.addPoint (1, 0.35, index), kResultTrue);
	EXPECT_EQ (queue.getPointCount (), 2);

	int32 offset = 0;
	ParamValue value = 0;
	EXPECT_EQ (queue.getPoint (2, offset, value), kResultFalse);
	EXPECT_EQ (queue.getPoint (-1, offset, value), kResultFalse);
	queue.clear ();
	EXPECT_EQ (queue.getPointCount (), 0);
	EXPECT_EQ (queue.getPoint (0, offset, value), kResultFalse);
}

TEST (ParameterChanges, HandsOutOneQueuePerParameterUpToItsCapacity)
{
	ParameterChanges changes (2, 4);
	int32 index = -1;
	IParamValueQueue* first = changes.addParameterData (3, index);
	ASSERT_NE (first, nullptr);
	EXPECT_EQ (index, 0);
	EXPECT_EQ (changes.addParameterData (3, index), first);
	EXPECT_EQ (index, 0);
	IParamValueQueue* second = changes.addParameterData (1000000, index);
	ASSERT_NE (second, nullptr);
	EXPECT_EQ (index, 1);
	EXPECT_EQ (second->getParameterId (), 1000000u);
	EXPECT_EQ (changes.addParameterData (5, index), nullptr);

	EXPECT_EQ (changes.getParameterCount (), 2);
	EXPECT_EQ (changes.getParameterData (1), second);
	EXPECT_EQ (changes.getParameterData (2), nullptr);
	EXPECT_EQ (changes.getParameterData (-1), nullptr);
}

TEST (ParameterChanges, ClearingEmptiesTheListAndItsQueues)
{
	ParameterChanges changes (2, 4);
	int32 index = -1;
	changes.addParameterData (3, index)->addPoint (0, 0.5, index);
	changes.clearQueue ();
	EXPECT_EQ (changes.getParameterCount (), 0);
	IParamValueQueue* queue = changes.addParameterData (6, index);
	ASSERT_NE (queue, nullptr);
	EXPECT_EQ (queue->getParameterId (), 6u);
	EXPECT_EQ (queue->getPointCount (), 0);
}

TEST (HostProcessData, OwnsZeroedBuffersOfTheGivenLayout)
{
	HostProcessData data;
	ASSERT_TRUE (data.prepare ({1}, {2, 0}, 64, kSample64));
	EXPECT_EQ (data.numInputs, 1);
	EXPECT_EQ (data.numOutputs, 2);
	EXPECT_EQ (data.numSamples, 64);
	EXPECT_EQ (data.symbolicSampleSize, kSample64);
	EXPECT_EQ (data.inputs[0].numChannels, 1);
	EXPECT_EQ (data.outputs[0].numChannels, 2);
	EXPECT_EQ (data.outputs[1].numChannels, 0);
	for (int32 c = 0; c < 2; ++c)
	{
		Sample64* channel = data.getChannel64 (kOutput, 0, c);
		ASSERT_EQ (channel, data.outputs[0].channelBuffers64[c]);
		for (int32 i = 0; i < 64; ++i)
			EXPECT_EQ (channel[i], 0.0);
		channel[63] = 1.0; // the whole block is writable
	}
	EXPECT_EQ (data.getChannel32 (kOutput, 0, 0), nullptr);
	EXPECT_EQ (data.getChannel64 (kOutput, 0, 2), nullptr);
	EXPECT_EQ (data.getChannel64 (kInput, 1, 0), nullptr);
}

TEST (HostProcessData, RefusesABadLayoutAndUnprepares)
{
	HostProcessData data;
	EXPECT_FALSE (data.prepare ({2}, {2}, 0, kSample32));
	EXPECT_FALSE (data.prepare ({2}, {2}, 64, 2));
	EXPECT_FALSE (data.prepare ({-1}, {2}, 64, kSample32));
	EXPECT_EQ (data.numInputs, 0);
	EXPECT_EQ (data.inputs, nullptr);

	ASSERT_TRUE (data.prepare ({2}, {2}, 32, kSample32));
	EXPECT_NE (data.getChannel32 (kInput, 0, 1), nullptr);
	data.unprepare ();
	EXPECT_EQ (data.numOutputs, 0);
	EXPECT_EQ (data.outputs, nullptr);
	EXPECT_EQ (data.getChannel32 (kInput, 0, 0), nullptr);
}

TEST (HostProcessData, FollowsTheBusesOfAComponent)
{
	IPtr<AudioEffect> effect = owned (new AudioEffect);
	effect->addAudioInput (STR16 ("In"), SpeakerArr::kMono);
	effect->addAudioOutput (STR16 ("Out"), SpeakerArr::kStereo);
	HostProcessData data;
	ASSERT_TRUE (data.prepare (*effect, 128, kSample32));
	EXPECT_EQ (data.inputs[0].numChannels, 1);
	EXPECT_EQ (data.outputs[0].numChannels, 2);
	EXPECT_EQ (data.getBlockSize (), 128);
}
