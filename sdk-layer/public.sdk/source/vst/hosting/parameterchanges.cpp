// Stands in for the VST3 SDK's host-side parameter change lists (public.sdk/source/vst/hosting/parameterchanges.cpp).
#include "public.sdk/source/vst/hosting/parameterchanges.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

ParameterValueQueue::ParameterValueQueue (ParamID paramId, int32 maxPoints)
: id (paramId), points (static_cast<size_t> (std::max<int32> (maxPoints, 0)))
{
}

tresult PLUGIN_API ParameterValueQueue::getPoint (int32 index, int32& sampleOffset, ParamValue& value)
{
	if (index < 0 || index >= numPoints)
		return kResultFalse;
	const Point& point = points[static_cast<size_t> (index)];
	sampleOffset = point.sampleOffset;
	value = point.value;
	return kResultTrue;
}

tresult PLUGIN_API ParameterValueQueue::addPoint (int32 sampleOffset, ParamValue value, int32& index)
{
	auto begin = points.begin ();
	auto end = begin + numPoints;
	auto at = std::lower_bound (begin, end, sampleOffset,
	                            [] (const Point& p, int32 offset) { return p.sampleOffset < offset; });
	if (at != end && at->sampleOffset == sampleOffset)
	{
		at->value = value;
		index = static_cast<int32> (at - begin);
		return kResultTrue;
	}
	if (numPoints >= getCapacity ())
		return kResultFalse;
	std::move_backward (at, end, end + 1);
	*at = {sampleOffset, value};
	++numPoints;
	index = static_cast<int32> (at - begin);
	return kResultTrue;
}

ParameterChanges::ParameterChanges (int32 maxParameters, int32 maxPointsPerQueue)
{
	queues.reserve (static_cast<size_t> (std::max<int32> (maxParameters, 0)));
	for (int32 i = 0; i < maxParameters; ++i)
		queues.emplace_back (owned (new ParameterValueQueue (0, maxPointsPerQueue)));
}

void ParameterChanges::clearQueue ()
{
	for (auto& queue : queues)
		queue->clear ();
	numUsed = 0;
}

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData (int32 index)
{
	if (index < 0 || index >= numUsed)
		return nullptr;
	return queues[static_cast<size_t> (index)];
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData (const ParamID& id, int32& index)
{
	for (int32 i = 0; i < numUsed; ++i)
	{
		if (queues[static_cast<size_t> (i)]->getParameterId () == id)
		{
			index = i;
			return queues[static_cast<size_t> (i)];
		}
	}
	if (numUsed >= getCapacity ())
		return nullptr;
	ParameterValueQueue* queue = queues[static_cast<size_t> (numUsed)];
	queue->setParamID (id);
	queue->clear ();
	index = numUsed++;
	return queue;
}

} // namespace Vst
} // namespace Steinberg
