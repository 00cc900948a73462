#pragma once
// Qt's own texts (the message boxes' buttons, the edit boxes' context menus) in Chinese, like
// every other text of the program.
namespace zk::ui {

// Loads Qt's Simplified Chinese translation once for the whole program; false when it is not
// installed, and Qt's English texts stay.
bool install_qt_chinese_texts();

} // namespace zk::ui
