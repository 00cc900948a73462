#pragma once
#include <QIcon>

namespace zk::ui {

// The program's icon: a controller box with a projector beam, drawn at every size a window
// manager or Windows asks for (16 to 256 pixels).
QIcon app_icon();

} // namespace zk::ui
