#include "dsp/DSPAlgo.h"

#include <cstring>

namespace KOREMU {
namespace DSPLib {

namespace {
constexpr int32 kInitialMembers = 10;

template <typename Sample>
Sample** buffersOf (const Cable& cable);

template <>
float** buffersOf<float> (const Cable& cable)
{
	return cable.getBuffers32 ();
}

template <>
double** buffersOf<double> (const Cable& cable)
{
	return cable.getBuffers64 ();
}
} // namespace

// --- member lists ---

template <typename Block>
Block* DSPAlgo::Members<Block>::add (Block* block)
{
	Steinberg::IPtr<Block> adopted (block, false);
	if (!created)
		reserve (kInitialMembers);
	const size_t position = blocks.size ();
	blocks.push_back (adopted);
	try
	{
		cables.emplace_back ();
		index[block->getId ()] = position;
	}
	catch (...)
	{
		// The member and its Cable slot go together, so the lists never differ in length.
		cables.resize (position);
		blocks.pop_back ();
		throw;
	}
	return block;
}

template <typename Block>
void DSPAlgo::Members<Block>::reserve (int32 count)
{
	if (created)
		return;
	if (count > 0)
	{
		blocks.reserve (static_cast<size_t> (count));
		cables.reserve (static_cast<size_t> (count));
	}
	created = true;
}

template <typename Block>
bool DSPAlgo::Members<Block>::remove (int32 id)
{
	if (!created)
		return false;
	auto it = index.find (id);
	if (it == index.end ())
		return true;
	const size_t position = it->second;
	index.erase (it);
	blocks.erase (blocks.begin () + static_cast<std::ptrdiff_t> (position));
	cables.erase (cables.begin () + static_cast<std::ptrdiff_t> (position));
	for (auto& entry : index)
	{
		if (entry.second > position)
			--entry.second;
	}
	return true;
}

template <typename Block>
Block* DSPAlgo::Members<Block>::find (int32 id) const
{
	auto it = index.find (id);
	return it == index.end () ? nullptr : blocks.at (it->second).get ();
}

template <typename Block>
Cable* DSPAlgo::Members<Block>::cableOf (int32 id) const
{
	auto it = index.find (id);
	return it == index.end () ? nullptr : cables.at (it->second).get ();
}

template <typename Block>
void DSPAlgo::Members<Block>::releaseCables ()
{
	for (size_t i = cables.size (); i-- > 0;)
		cables[i] = nullptr;
}

template <typename Block>
void DSPAlgo::Members<Block>::releaseAll ()
{
	while (!blocks.empty ())
		blocks.pop_back ();
	while (!cables.empty ())
		cables.pop_back ();
	index.clear ();
}

// --- construction and membership ---

DSPAlgo::DSPAlgo (int32 id, int32 numInputs, int32 numOutputs)
: DSPAlgo (id, numInputs, numOutputs, kSeriesTopology)
{
}

DSPAlgo::DSPAlgo (int32 id, int32 numInputs, int32 numOutputs, int32 topology)
: DSPFunction (id, numInputs, numOutputs)
, topology (topology)
{
	setContainer ();
	// Its members hold delay lines that must follow the input.
	keepRunningWhileBypassed ();
}

DSPAlgo::~DSPAlgo ()
{
	if (setUp)
		teardown ();
	functions.releaseAll ();
	controllers.releaseAll ();
}

DSPFunction* DSPAlgo::addFunction (DSPFunction* function)
{
	return functions.add (function);
}

void DSPAlgo::reserveFunctions (int32 count)
{
	functions.reserve (count);
}

DSPFunction* DSPAlgo::getFunction (int32 id) const
{
	return functions.find (id);
}

Cable* DSPAlgo::getCable (int32 id) const
{
	return functions.cableOf (id);
}

bool DSPAlgo::removeFunction (int32 id)
{
	return functions.remove (id);
}

Controller* DSPAlgo::addController (Controller* controller)
{
	return controllers.add (controller);
}

void DSPAlgo::reserveControllers (int32 count)
{
	controllers.reserve (count);
}

Controller* DSPAlgo::findController (int32 id) const
{
	return controllers.find (id);
}

Cable* DSPAlgo::getControllerCable (int32 id) const
{
	return controllers.cableOf (id);
}

bool DSPAlgo::removeController (int32 id)
{
	return controllers.remove (id);
}

void DSPAlgo::clear ()
{
	for (auto& child : functions.blocks)
	{
		if (child->isContainer ())
			static_cast<DSPAlgo*> (child.get ())->clear ();
	}
	functions.releaseAll ();
	controllers.releaseAll ();
	setUp = false;
}

// --- configuration ---

void DSPAlgo::setSampleRate (double rate)
{
	for (auto& child : functions.blocks)
		child->setSampleRate (rate);
	for (auto& controller : controllers.blocks)
		controller->setSampleRate (rate);
	DSPFunction::setSampleRate (rate);
}

void DSPAlgo::setBlockSize (int32 frames)
{
	for (auto& child : functions.blocks)
		child->setBlockSize (frames);
	for (auto& controller : controllers.blocks)
		controller->setBlockSize (frames);
	DSPFunction::setBlockSize (frames);
}

void DSPAlgo::setSampleSize (int32 size)
{
	for (auto& child : functions.blocks)
		child->setSampleSize (size);
	for (auto& controller : controllers.blocks)
		controller->setSampleSize (size);
	DSPFunction::setSampleSize (size);
}

DSPFunction* DSPAlgo::findFunction (int32 id)
{
	for (auto& child : functions.blocks)
	{
		if (DSPFunction* found = child->findFunction (id))
			return found;
	}
	return DSPFunction::findFunction (id);
}

uint32 DSPAlgo::combineLatency (uint32 a, uint32 b) const
{
	switch (topology)
	{
		case kSeriesTopology: return a + b;
		case kParallelTopology:
		case kPerChannelTopology: return a > b ? a : b;
		default: return 0;
	}
}

uint32 DSPAlgo::getLatency () const
{
	uint32 total = 0;
	for (auto& child : functions.blocks)
		total = combineLatency (total, child->getLatency ());
	return combineLatency (total, getOwnLatency ());
}

uint32 DSPAlgo::getTail () const
{
	uint32 longest = getOwnTail ();
	for (auto& child : functions.blocks)
		longest = std::max (longest, child->getTail ());
	return longest;
}

// --- life cycle ---

template <typename Block>
void DSPAlgo::configureMember (Block& member)
{
	member.setSampleRate (getSampleRate ());
	member.setBlockSize (getBlockSize ());
	member.setSampleSize (getSampleSize ());
}

template <typename Block>
int32 DSPAlgo::setupMembers (Members<Block>& members)
{
	for (size_t i = 0; i < members.blocks.size (); ++i)
	{
		Block& member = *members.blocks[i];
		configureMember (member);
		if (int32 status = member.setup ())
			return status;
		members.cables[i] = Steinberg::owned (
		    new Cable (member.getNumOutputs (), member.getBlockSize (), member.getSampleSize ()));
	}
	return 0;
}

int32 DSPAlgo::setup ()
{
	setUp = true;
	if (int32 status = setupMembers (functions))
		return status;
	if (int32 status = setupMembers (controllers))
		return status;
	return DSPFunction::setup ();
}

int32 DSPAlgo::teardown ()
{
	setUp = false;
	for (auto& child : functions.blocks)
	{
		if (int32 status = child->teardown ())
			return status;
	}
	functions.releaseCables ();
	for (auto& controller : controllers.blocks)
	{
		if (int32 status = controller->teardown ())
			return status;
	}
	controllers.releaseCables ();
	return 0;
}

int32 DSPAlgo::reset ()
{
	for (auto& child : functions.blocks)
	{
		if (int32 status = child->reset ())
			return status;
	}
	for (auto& controller : controllers.blocks)
	{
		if (int32 status = controller->reset ())
			return status;
	}
	return DSPFunction::reset ();
}

// --- processing ---

int32 DSPAlgo::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames,
	                 [this] (float** in, float** out, int32 n) { runChildren (in, out, n); });
}

int32 DSPAlgo::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames,
	                 [this] (double** in, double** out, int32 n) { runChildren (in, out, n); });
}

// The buffers of the member at this position, or null when it has no Cable that can take a
// call of this width, length and channel count.
template <typename Sample>
Sample** DSPAlgo::usableBuffers (size_t position, int32 frames, int32 channels) const
{
	const Cable* cable = functions.cables[position].get ();
	if (!cable || cable->getFrames () < frames || cable->getChannels () < channels)
		return nullptr;
	return buffersOf<Sample> (*cable);
}

bool DSPAlgo::acceptsInputs (DSPFunction& child, int32 inputs) const
{
	return child.getKind () == kGeneratorKind || child.getNumInputs () == inputs;
}

template <typename Sample>
int32 DSPAlgo::runControllers (int32 frames)
{
	for (size_t i = 0; i < controllers.blocks.size (); ++i)
	{
		Controller& controller = *controllers.blocks[i];
		const Cable* cable = controllers.cables[i].get ();
		if (!cable || cable->getFrames () < frames || cable->getChannels () < controller.getNumOutputs ())
			continue;
		Sample** out = buffersOf<Sample> (*cable);
		if (!out)
			continue;
		int32 status = 0;
		if constexpr (sizeof (Sample) == sizeof (float))
			status = controller.process32 (nullptr, out, frames);
		else
			status = controller.process64 (nullptr, out, frames);
		if (status)
			return status;
	}
	return 0;
}

template <typename Sample>
int32 DSPAlgo::runChildren (Sample** inputs, Sample** outputs, int32 frames)
{
	if (int32 status = runControllers<Sample> (frames))
		return status;
	switch (topology)
	{
		case kSeriesTopology: return runSeries (inputs, outputs, frames);
		case kParallelTopology: return runSideBySide (inputs, outputs, frames, false);
		case kPerChannelTopology: return runSideBySide (inputs, outputs, frames, true);
		default: return 0;
	}
}

namespace {
template <typename Sample>
int32 processMember (DSPFunction& member, Sample** in, Sample** out, int32 frames)
{
	if constexpr (sizeof (Sample) == sizeof (float))
		return member.process32 (in, out, frames);
	else
		return member.process64 (in, out, frames);
}
} // namespace

template <typename Sample>
int32 DSPAlgo::runSeries (Sample** inputs, Sample** outputs, int32 frames)
{
	const size_t count = functions.blocks.size ();
	for (size_t i = 0; i < count; ++i)
	{
		DSPFunction& child = *functions.blocks[i];
		if (!functions.cables[i])
			continue;
		const bool first = i == 0;
		const bool last = i + 1 == count;
		Sample** in = inputs;
		if (!first)
		{
			DSPFunction& previous = *functions.blocks[i - 1];
			in = usableBuffers<Sample> (i - 1, frames, previous.getNumOutputs ());
			if (!in || !acceptsInputs (child, previous.getNumOutputs ()))
				continue;
		}
		else if (!acceptsInputs (child, getNumInputs ()))
			continue;

		Sample** out = outputs;
		if (last)
		{
			if (child.getNumOutputs () != getNumOutputs ())
				continue;
		}
		else
		{
			out = usableBuffers<Sample> (i, frames, child.getNumOutputs ());
			if (!out)
				continue;
		}
		if (int32 status = processMember (child, in, out, frames))
			return status;
	}
	return 0;
}

template <typename Sample>
int32 DSPAlgo::runSideBySide (Sample** inputs, Sample** outputs, int32 frames, bool perChannel)
{
	int32 o = 0;
	for (size_t j = 0; j < functions.blocks.size (); ++j)
	{
		DSPFunction& child = *functions.blocks[j];
		const int32 childOutputs = child.getNumOutputs ();
		Sample** own = usableBuffers<Sample> (j, frames, childOutputs);
		if (!own)
		{
			o += childOutputs;
			continue;
		}
		const bool generator = child.getKind () == kGeneratorKind;
		const int32 channel = static_cast<int32> (j);
		Sample** in = inputs;
		bool runs = acceptsInputs (child, getNumInputs ());
		if (perChannel)
		{
			const bool hasChannel = channel < getNumInputs () && inputs;
			runs = (generator || (child.getNumInputs () == 1 && hasChannel));
			in = hasChannel ? inputs + channel : nullptr;
		}
		if (runs)
		{
			if (int32 status = processMember (child, in, own, frames))
				return status;
		}
		for (int32 k = 0; k < childOutputs && o < getNumOutputs (); ++k, ++o)
		{
			if (outputs && outputs[o] && own[k] && frames > 0)
				std::memcpy (outputs[o], own[k], sizeof (Sample) * static_cast<size_t> (frames));
		}
	}
	return 0;
}

int32 DSPAlgo::processChildren (float** inputs, float** outputs, int32 frames)
{
	return runChildren (inputs, outputs, frames);
}

int32 DSPAlgo::processChildren (double** inputs, double** outputs, int32 frames)
{
	return runChildren (inputs, outputs, frames);
}

int32 DSPAlgo::processSeries (float** inputs, float** outputs, int32 frames)
{
	return runSeries (inputs, outputs, frames);
}

int32 DSPAlgo::processSeries (double** inputs, double** outputs, int32 frames)
{
	return runSeries (inputs, outputs, frames);
}

int32 DSPAlgo::processParallel (float** inputs, float** outputs, int32 frames)
{
	return runSideBySide (inputs, outputs, frames, false);
}

int32 DSPAlgo::processParallel (double** inputs, double** outputs, int32 frames)
{
	return runSideBySide (inputs, outputs, frames, false);
}

int32 DSPAlgo::processPerChannel (float** inputs, float** outputs, int32 frames)
{
	return runSideBySide (inputs, outputs, frames, true);
}

int32 DSPAlgo::processPerChannel (double** inputs, double** outputs, int32 frames)
{
	return runSideBySide (inputs, outputs, frames, true);
}

} // namespace DSPLib
} // namespace KOREMU
