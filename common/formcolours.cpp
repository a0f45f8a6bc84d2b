#include "formcolours.h"

#include <QLineEdit>
#include <QWidget>

namespace {

void setEnabledColour(QPalette &palette, QPalette::ColorRole role, const QVariant &colour)
{
    // Designer writes these properties as colours; text here would be read as a colour's name.
    Q_ASSERT_X(!colour.isValid() || colour.metaType() == QMetaType::fromType<QColor>(), "FormColours",
        "a form's textColor or buttonColor is not a colour");
    if (!colour.canConvert<QColor>())
        return;
    palette.setColor(QPalette::Active, role, colour.value<QColor>());
    palette.setColor(QPalette::Inactive, role, colour.value<QColor>());
}

void applyTo(QWidget *widget)
{
    const QVariant text = widget->property("textColor");
    const QVariant button = widget->property("buttonColor");
    if (!text.isValid() && !button.isValid())
        return;
    QPalette palette = widget->palette();
    // A line edit draws its text in the Text role, every other widget in WindowText.
    setEnabledColour(palette, qobject_cast<QLineEdit *>(widget) ? QPalette::Text : QPalette::WindowText, text);
    setEnabledColour(palette, QPalette::Button, button);
    widget->setPalette(palette);
}

} // namespace

namespace FormColours {

void apply(QWidget *form)
{
    applyTo(form);
    const auto widgets = form->findChildren<QWidget *>();
    for (QWidget *widget : widgets)
        applyTo(widget);
}

} // namespace FormColours
