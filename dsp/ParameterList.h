#pragma once

#include "dsp/DSPParameter.h"
#include "pluginterfaces/base/smartpointer.h"

#include <map>
#include <vector>

namespace KOREMU {
namespace DSPLib {

// The parameters of one block, in the order of addition, with an index by key. Small keys,
// which blocks read at every sample, are also found through a table without a search.
class ParameterList
{
public:
	ParameterList () = default;
	~ParameterList ();

	ParameterList (const ParameterList&) = delete;
	ParameterList& operator= (const ParameterList&) = delete;

	// Takes over the caller's reference; a later parameter under the same key replaces the earlier one for find.
	DSPParameter* add (DSPParameter* parameter);
	DSPParameter* find (uint32 key) const;
	// False only while the list has never held a parameter.
	bool remove (uint32 key);
	void clear ();
	void reserveStorage (int32 n);

	int32 size () const { return static_cast<int32> (storage.size ()); }
	DSPParameter* at (int32 position) const { return storage[static_cast<size_t> (position)]; }

private:
	static constexpr int32 kInitialCapacity = 10;
	// Keys below this are found through the direct table.
	static constexpr uint32 kDirectKeys = 64;

	void rebuildDirect ();

	std::vector<Steinberg::IPtr<DSPParameter>> storage;
	std::map<uint32, size_t> index;
	DSPParameter* direct[kDirectKeys] {};
	bool storageCreated {false};
};

} // namespace DSPLib
} // namespace KOREMU
