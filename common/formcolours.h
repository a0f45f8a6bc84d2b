#pragma once

class QWidget;

namespace FormColours {

// The forms colour a caption or a button face through the dynamic properties
// "textColor" and "buttonColor"; this turns them into the palettes that draw
// them, for the form and every widget on it. The colours hold while a widget
// is enabled: a disabled one keeps the style's greyed colour.
void apply(QWidget *form);

} // namespace FormColours
