#pragma once
// The find window's controls that handlers read and write, named as in its layout.
#include "view/controls.h"

namespace zk {

struct FindView
{
    ItemList& 组合框网卡列表;
    EditBox& 编辑框中控IP;
    EditBox& 编辑框子网掩码;
    EditBox& 编辑框网关;
    EditBox& 编辑框本机IP;
    EditBox& 编辑框服务器IP;
    EditBox& 编辑框远程端口;
    ItemList& 列表框中控IP;
};

} // namespace zk
