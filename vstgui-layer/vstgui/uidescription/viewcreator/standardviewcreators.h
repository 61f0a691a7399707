// Stands in for VSTGUI's built-in view creators (vstgui/uidescription/viewcreator/): "CView",
// "CControl", "CViewContainer", "CParamDisplay", "CTextLabel" and "COnOffButton".
#pragma once

namespace VSTGUI {

/** Registers the built-in creators with UIViewFactory; later calls do nothing. */
void registerStandardViewCreators ();

} // namespace VSTGUI
