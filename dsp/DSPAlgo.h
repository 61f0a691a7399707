#pragma once

#include "dsp/Cable.h"
#include "dsp/Controller.h"
#include "dsp/DSPFunction.h"

#include <map>
#include <vector>

namespace KOREMU {
namespace DSPLib {

enum Topology : int32
{
	kSeriesTopology = 0,
	kParallelTopology = 1,
	kPerChannelTopology = 2,
};

// A block that holds child blocks and controllers and runs them in series, in parallel or per
// channel. Each member gets its own output Cable at setup; lookups return borrowed pointers.
class DSPAlgo : public DSPFunction
{
public:
	DSPAlgo (int32 id, int32 numInputs, int32 numOutputs);
	DSPAlgo (int32 id, int32 numInputs, int32 numOutputs, int32 topology);
	~DSPAlgo () override;

	// Adopts the caller's reference.
	DSPFunction* addFunction (DSPFunction* function);
	void reserveFunctions (int32 count);
	DSPFunction* getFunction (int32 id) const;
	Cable* getCable (int32 id) const;
	bool removeFunction (int32 id);

	Controller* addController (Controller* controller);
	void reserveControllers (int32 count);
	Controller* findController (int32 id) const;
	Cable* getControllerCable (int32 id) const;
	bool removeController (int32 id);

	void clear ();
	uint32 combineLatency (uint32 a, uint32 b) const;

	void setSampleRate (double rate) override;
	void setBlockSize (int32 frames) override;
	void setSampleSize (int32 size) override;
	DSPFunction* findFunction (int32 id) override;
	uint32 getLatency () const override;
	uint32 getTail () const override;
	int32 setup () override;
	int32 teardown () override;
	int32 reset () override;
	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

	int32 processChildren (float** inputs, float** outputs, int32 frames);
	int32 processChildren (double** inputs, double** outputs, int32 frames);
	int32 processSeries (float** inputs, float** outputs, int32 frames);
	int32 processSeries (double** inputs, double** outputs, int32 frames);
	int32 processParallel (float** inputs, float** outputs, int32 frames);
	int32 processParallel (double** inputs, double** outputs, int32 frames);
	int32 processPerChannel (float** inputs, float** outputs, int32 frames);
	int32 processPerChannel (double** inputs, double** outputs, int32 frames);

private:
	// A member, the Cable it writes into while set up, and nothing else: members that share an
	// id keep Cables of their own.
	template <typename Block>
	struct Members
	{
		std::vector<Steinberg::IPtr<Block>> blocks;
		std::vector<Steinberg::IPtr<Cable>> cables;
		std::map<int32, size_t> index;
		bool created {false};

		Block* add (Block* block);
		void reserve (int32 count);
		bool remove (int32 id);
		Block* find (int32 id) const;
		Cable* cableOf (int32 id) const;
		void releaseCables ();
		void releaseAll ();
	};

	template <typename Block>
	int32 setupMembers (Members<Block>& members);
	template <typename Block>
	void configureMember (Block& member);
	template <typename Sample>
	int32 runChildren (Sample** inputs, Sample** outputs, int32 frames);
	template <typename Sample>
	int32 runControllers (int32 frames);
	template <typename Sample>
	int32 runSeries (Sample** inputs, Sample** outputs, int32 frames);
	template <typename Sample>
	int32 runSideBySide (Sample** inputs, Sample** outputs, int32 frames, bool perChannel);
	template <typename Sample>
	Sample** usableBuffers (size_t position, int32 frames, int32 channels) const;
	bool acceptsInputs (DSPFunction& child, int32 inputs) const;

	int32 topology;
	Members<DSPFunction> functions;
	Members<Controller> controllers;
	bool setUp {false};
};

} // namespace DSPLib
} // namespace KOREMU
