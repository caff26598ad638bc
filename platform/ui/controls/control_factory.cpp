// The one place that maps a layout's control kind to the class that
// builds it. The framework's own list, sheet, shape and image widgets
// replace the stand-ins here.
#include "platform/ui/control.h"
#include "platform/ui/controls/control_kinds.h"

namespace fw {

std::unique_ptr<Control> CreateControl(Window& window, const ControlLayout& layout, int number) {
    switch (layout.kind) {
    case ControlKind::Button: return std::make_unique<ButtonControl>(window, layout, number);
    case ControlKind::Toolbar: return std::make_unique<ToolbarControl>(window, layout, number);
    case ControlKind::Entry: return std::make_unique<EntryControl>(window, layout, number);
    case ControlKind::DropList: return std::make_unique<ChoiceControl>(window, layout, number, false);
    case ControlKind::Combo: return std::make_unique<ChoiceControl>(window, layout, number, true);
    case ControlKind::Check: return std::make_unique<CheckControl>(window, layout, number);
    case ControlKind::Option: return std::make_unique<OptionControl>(window, layout, number);
    case ControlKind::Radio: return std::make_unique<RadioControl>(window, layout, number);
    case ControlKind::Spin: return std::make_unique<SpinControl>(window, layout, number);
    case ControlKind::Prompt:
    case ControlKind::String: return std::make_unique<LabelControl>(window, layout, number);
    case ControlKind::Group:
    case ControlKind::Panel: return std::make_unique<FrameControl>(window, layout, number);
    case ControlKind::Progress: return std::make_unique<ProgressControl>(window, layout, number);
    case ControlKind::Menu: return std::make_unique<MenuControl>(window, layout, number);
    case ControlKind::Item: return std::make_unique<ItemControl>(window, layout, number);
    // Stand-ins.
    case ControlKind::List: return std::make_unique<ListControl>(window, layout, number);
    case ControlKind::Sheet: return std::make_unique<SheetControl>(window, layout, number);
    case ControlKind::Tab: return std::make_unique<TabControl>(window, layout, number);
    case ControlKind::Box:
    case ControlKind::Line:
    case ControlKind::Ellipse: return std::make_unique<ShapeControl>(window, layout, number);
    case ControlKind::Image: return std::make_unique<ImageControl>(window, layout, number);
    }
    return nullptr;
}

}  // namespace fw
