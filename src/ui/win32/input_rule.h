#pragma once
// The input rule of an edit box (integer boxes: digits and "-" only), checked on every edit the
// operator makes, however the text arrives: typed, pasted, cut, undone or committed by an input
// method. An edit that breaks the rule is undone whole. The program's own texts (WM_SETTEXT) are
// not checked.
#include <windows.h>

#include "view/layout.h"

namespace zk::win32 {

// Makes `edit` refuse operator edits that `rule` does not accept.
void enforce_input_rule(HWND edit, view::Input rule);

} // namespace zk::win32
