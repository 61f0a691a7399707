#include "EditLog.h"

#include <set>

using namespace Steinberg;
using namespace Steinberg::Vst;

std::vector<EditLog::Edit> EditLog::editsOf (ParamID id) const
{
	std::vector<Edit> found;
	for (const Edit& edit : edits)
		if (edit.id == id)
			found.push_back (edit);
	return found;
}

std::string EditLog::unbalanced () const
{
	std::set<ParamID> open;
	for (size_t i = 0; i < edits.size (); ++i)
	{
		const Edit& edit = edits[i];
		const std::string where = "edit " + std::to_string (i) + " of tag " + std::to_string (edit.id);
		switch (edit.kind)
		{
			case Kind::kBegin:
				if (!open.insert (edit.id).second)
					return where + ": begin inside an open edit";
				break;
			case Kind::kPerform:
				if (open.count (edit.id) == 0)
					return where + ": perform outside an edit";
				break;
			case Kind::kEnd:
				if (open.erase (edit.id) == 0)
					return where + ": end without a begin";
				break;
		}
	}
	return open.empty () ? std::string () : "tag " + std::to_string (*open.begin ()) + ": begin never ended";
}

tresult PLUGIN_API EditLog::beginEdit (ParamID id)
{
	edits.push_back ({Kind::kBegin, id, 0.});
	return kResultOk;
}

tresult PLUGIN_API EditLog::performEdit (ParamID id, ParamValue value)
{
	edits.push_back ({Kind::kPerform, id, value});
	return kResultOk;
}

tresult PLUGIN_API EditLog::endEdit (ParamID id)
{
	edits.push_back ({Kind::kEnd, id, 0.});
	return kResultOk;
}
