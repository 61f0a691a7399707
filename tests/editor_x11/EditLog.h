// The component handler of the test host: it records every edit the editor reports.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>
#include <vector>

class EditLog : public Steinberg::FObject, public Steinberg::Vst::IComponentHandler
{
public:
	enum class Kind
	{
		kBegin,
		kPerform,
		kEnd,
	};
	struct Edit
	{
		Kind kind;
		Steinberg::Vst::ParamID id;
		Steinberg::Vst::ParamValue value;
	};

	const std::vector<Edit>& getEdits () const { return edits; }
	std::vector<Edit> editsOf (Steinberg::Vst::ParamID id) const;
	/** Empty when every perform lies between a begin and an end of its tag and every begin is
	    ended; else a description of the first edit that breaks this. */
	std::string unbalanced () const;
	void clear () { edits.clear (); }

	Steinberg::tresult PLUGIN_API beginEdit (Steinberg::Vst::ParamID id) override;
	Steinberg::tresult PLUGIN_API performEdit (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) override;
	Steinberg::tresult PLUGIN_API endEdit (Steinberg::Vst::ParamID id) override;
	Steinberg::tresult PLUGIN_API restartComponent (Steinberg::int32) override { return Steinberg::kResultOk; }

	OBJ_METHODS (EditLog, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (Steinberg::Vst::IComponentHandler)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)

private:
	std::vector<Edit> edits;
};
