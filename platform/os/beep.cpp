#include "platform/os/beep.h"

#include <QApplication>

namespace fw {
namespace {

std::function<void(unsigned)>& Handler() {
    static std::function<void(unsigned)> handler;
    return handler;
}

}  // namespace

void BEEP(unsigned sound) {
    if (Handler()) Handler()(sound);
    else QApplication::beep();
}

void SetBeepHandler(std::function<void(unsigned)> handler) { Handler() = std::move(handler); }

}  // namespace fw
