// Stands in for the VST3 SDK's host-side parameter change lists (public.sdk/source/vst/hosting/parameterchanges.h).
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace Steinberg {
namespace Vst {

/** The points of one parameter for one block, kept in sample-offset order.
    Storage for maxPoints points is taken at construction; adding never allocates. */
class ParameterValueQueue : public FObject, public IParamValueQueue
{
public:
	ParameterValueQueue (ParamID paramId, int32 maxPoints);

	void setParamID (ParamID paramId) { id = paramId; }
	void clear () { numPoints = 0; }
	int32 getCapacity () const { return static_cast<int32> (points.size ()); }

	//---from IParamValueQueue-------
	ParamID PLUGIN_API getParameterId () SMTG_OVERRIDE { return id; }
	int32 PLUGIN_API getPointCount () SMTG_OVERRIDE { return numPoints; }
	tresult PLUGIN_API getPoint (int32 index, int32& sampleOffset, ParamValue& value) SMTG_OVERRIDE;
	tresult PLUGIN_API addPoint (int32 sampleOffset, ParamValue value, int32& index) SMTG_OVERRIDE;

	OBJ_METHODS (ParameterValueQueue, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (IParamValueQueue)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)

private:
	struct Point
	{
		int32 sampleOffset;
		ParamValue value;
	};

	ParamID id;
	std::vector<Point> points;
	int32 numPoints = 0;
};

/** The parameter changes of one block: at most maxParameters queues of maxPointsPerQueue points,
    all allocated at construction so that filling and clearing them never allocates. */
class ParameterChanges : public FObject, public IParameterChanges
{
public:
	explicit ParameterChanges (int32 maxParameters = 16, int32 maxPointsPerQueue = 16);

	/** Empties every queue for the next block. */
	void clearQueue ();
	int32 getCapacity () const { return static_cast<int32> (queues.size ()); }

	//---from IParameterChanges-------
	int32 PLUGIN_API getParameterCount () SMTG_OVERRIDE { return numUsed; }
	IParamValueQueue* PLUGIN_API getParameterData (int32 index) SMTG_OVERRIDE;
	IParamValueQueue* PLUGIN_API addParameterData (const ParamID& id, int32& index) SMTG_OVERRIDE;

	OBJ_METHODS (ParameterChanges, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (IParameterChanges)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)

private:
	std::vector<IPtr<ParameterValueQueue>> queues;
	int32 numUsed = 0;
};

} // namespace Vst
} // namespace Steinberg
