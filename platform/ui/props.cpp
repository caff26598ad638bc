#include "platform/ui/props.h"

#include <array>
#include <utility>

#include "platform/text/codepage.h"

namespace fw {
namespace {
constexpr std::array<std::pair<Prop, std::string_view>, 56> kNames{{
    {Prop::Text, "Text"}, {Prop::Hide, "Hide"}, {Prop::Disable, "Disable"}, {Prop::ReadOnly, "ReadOnly"},
    {Prop::Xpos, "Xpos"}, {Prop::Ypos, "Ypos"}, {Prop::Width, "Width"}, {Prop::Height, "Height"},
    {Prop::FontName, "FontName"}, {Prop::FontSize, "FontSize"}, {Prop::FontStyle, "FontStyle"},
    {Prop::FontColor, "FontColor"}, {Prop::Color, "Color"}, {Prop::Fill, "Fill"}, {Prop::Msg, "Msg"},
    {Prop::Tip, "Tip"}, {Prop::Icon, "Icon"}, {Prop::Type, "Type"}, {Prop::Items, "Items"},
    {Prop::Selected, "Selected"}, {Prop::From, "From"}, {Prop::Format, "Format"}, {Prop::VScroll, "VScroll"},
    {Prop::VScrollPos, "VScrollPos"}, {Prop::RangeLow, "RangeLow"}, {Prop::RangeHigh, "RangeHigh"},
    {Prop::Step, "Step"}, {Prop::TrueValue, "TrueValue"}, {Prop::FalseValue, "FalseValue"},
    {Prop::Value, "Value"}, {Prop::Picture, "Picture"}, {Prop::Timer, "Timer"}, {Prop::AcceptAll, "AcceptAll"},
    {Prop::Iconize, "Iconize"}, {Prop::Maximize, "Maximize"}, {Prop::Active, "Active"}, {Prop::Resize, "Resize"},
    {Prop::MinWidth, "MinWidth"}, {Prop::MinHeight, "MinHeight"}, {Prop::ChoiceFEQ, "ChoiceFEQ"},
    {Prop::StatusText, "StatusText"}, {Prop::Cursor, "Cursor"}, {Prop::Default, "Default"}, {Prop::Touched, "Touched"},
    {Prop::SelectedColor, "SelectedColor"}, {Prop::SelectedFill, "SelectedFillColor"},
    {Prop::MouseDownRow, "MouseDownRow"}, {Prop::MouseDownField, "MouseDownField"}, {Prop::HScroll, "HScroll"},
    {Prop::HScrollPos, "HScrollPos"}, {Prop::MaxWidth, "MaxWidth"}, {Prop::MaxHeight, "MaxHeight"},
    {Prop::NaturalWidth, "NaturalWidth"}, {Prop::NaturalHeight, "NaturalHeight"},
    {Prop::EditColumn, "EditColumn"}, {Prop::EditText, "EditText"},
}};
}  // namespace

bool PropByName(std::string_view name, Prop& prop) {
    for (const auto& [p, n] : kNames)
        if (n.size() == name.size() && CompareFolded(n, name) == 0) {
            prop = p;
            return true;
        }
    return false;
}

std::string_view PropName(Prop prop) {
    for (const auto& [p, n] : kNames)
        if (p == prop) return n;
    return {};
}

}  // namespace fw
