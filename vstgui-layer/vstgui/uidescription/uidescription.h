// Stands in for VSTGUI's UI-description reader (vstgui/uidescription/uidescription.h).
#pragma once

#include "vstgui/lib/cfont.h"
#include "vstgui/lib/cresourcedescription.h"
#include "vstgui/uidescription/iuidescription.h"
#include "vstgui/uidescription/uiattributes.h"
#include "vstgui/uidescription/uidescriptionnode.h"
#include "vstgui/uidescription/uiviewfactory.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace VSTGUI {

class CView;
class IController;

/** Reads a UI description (XML with the root element "vstgui-ui-description": colours, fonts,
    bitmaps, control tags and templates of nested views) and builds view trees from its templates. */
class UIDescription : public CBaseObject, public IUIDescription
{
public:
	/** Sub-controllers made while building, each with the view it drives. */
	using SubControllers = std::vector<std::pair<CView*, IController*>>;

	/** xmlFile names the file by its path; bitmap paths are taken relative to its folder. */
	explicit UIDescription (const CResourceDescription& xmlFile);
	~UIDescription () noexcept override;

	/** Reads the file; false when it cannot be read or is not a UI description. */
	bool parse ();
	/** Reads the description from XML text. */
	bool parseText (const std::string& xml);

	/** A new view tree from the template name, holding one reference for the caller; null when
	    the template is unknown or its view cannot be made. The controller is asked for custom
	    views, verifies each view and listens to the controls. Sub-controllers are asked for only
	    when subControllers is given; the caller then owns them and must delete each before its
	    view goes. */
	CView* createView (UTF8StringPtr name, IController* controller,
	                   SubControllers* subControllers = nullptr) const;
	/** The attributes of a template, or null. */
	const UIAttributes* getViewAttributes (UTF8StringPtr name) const;
	/** The tag of a control-tag name (or a number written out); -1 when unknown. */
	int32_t getTagForName (UTF8StringPtr name) const;

	CBitmap* getBitmap (UTF8StringPtr name) const override;
	bool getColor (UTF8StringPtr name, CColor& color) const override;
	CFontDesc* getFont (UTF8StringPtr name) const override;
	bool lookupBitmapName (const CBitmap* bitmap, std::string& bitmapName) const override;
	bool lookupColorName (const CColor& color, std::string& colorName) const override;

	/** "#rrggbb" or "#rrggbbaa" in hexadecimal digits. */
	static bool parseColor (const std::string& text, CColor& color);

private:
	struct Template
	{
		const UIDescriptionNode* node;
		SharedPointer<UIAttributes> attributes;
	};

	void readResources (const UIDescriptionNode& root);
	void readFont (const std::string& name, const UIDescriptionNode& entry);
	CView* buildView (const UIDescriptionNode& node, IController* controller,
	                  SubControllers* subControllers) const;
	void bindControl (CView* view, const UIAttributes& attributes, IController* controller) const;

	std::string path;
	std::unique_ptr<UIDescriptionNode> root;
	std::map<std::string, CColor> colors;
	std::map<std::string, SharedPointer<CFontDesc>> fonts;
	std::map<std::string, std::string> bitmapPaths;
	mutable std::map<std::string, SharedPointer<CBitmap>> bitmaps;
	std::map<std::string, int32_t> controlTags;
	std::map<std::string, Template> templates;
	UIViewFactory factory;
};

} // namespace VSTGUI
