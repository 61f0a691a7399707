#include "dsp/ParameterList.h"

#include <algorithm>
#include <iterator>

namespace KOREMU {
namespace DSPLib {

ParameterList::~ParameterList ()
{
	clear ();
}

DSPParameter* ParameterList::add (DSPParameter* parameter)
{
	Steinberg::IPtr<DSPParameter> adopted (parameter, false);
	if (!storageCreated)
	{
		storage.reserve (kInitialCapacity);
		storageCreated = true;
	}
	const size_t position = storage.size ();
	storage.push_back (adopted);
	try
	{
		index[parameter->getKey ()] = position;
	}
	catch (...)
	{
		// A failed add leaves the list as it was and releases the parameter.
		storage.pop_back ();
		throw;
	}
	if (parameter->getKey () < kDirectKeys)
		direct[parameter->getKey ()] = parameter;
	return parameter;
}

DSPParameter* ParameterList::find (uint32 key) const
{
	if (key < kDirectKeys)
		return direct[key];
	auto it = index.find (key);
	if (it == index.end ())
		return nullptr;
	return storage[it->second];
}

bool ParameterList::remove (uint32 key)
{
	if (!storageCreated)
		return false;
	auto it = index.find (key);
	if (it == index.end ())
		return true;
	const size_t position = it->second;
	index.erase (it);
	storage.erase (storage.begin () + static_cast<std::ptrdiff_t> (position));
	for (auto& entry : index)
	{
		if (entry.second > position)
			--entry.second;
	}
	rebuildDirect ();
	return true;
}

void ParameterList::rebuildDirect ()
{
	std::fill (std::begin (direct), std::end (direct), nullptr);
	for (const auto& entry : index)
	{
		if (entry.first < kDirectKeys)
			direct[entry.first] = storage[entry.second];
	}
}

void ParameterList::clear ()
{
	while (!storage.empty ())
		storage.pop_back ();
	index.clear ();
	rebuildDirect ();
}

void ParameterList::reserveStorage (int32 n)
{
	if (storageCreated || n <= 0)
		return;
	storage.reserve (static_cast<size_t> (n));
	storageCreated = true;
}

} // namespace DSPLib
} // namespace KOREMU
