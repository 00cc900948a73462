#include "present/port_report.h"

#include "base/text.h"

namespace zk {

std::string port_taken_message(int port)
{
    return concat({"端口", to_text(std::int64_t{port}), "已被占用，无法收发数据"});
}

void report_unbound_port(bool bound, int port, MessageBoxes& boxes)
{
    if (!bound) boxes.message_box(port_taken_message(port));
}

void PortReport::shown(bool bound)
{
    if (shown_before_) return;
    shown_before_ = true;
    timer_.start(std::chrono::milliseconds(0),
                 [this, bound] { report_unbound_port(bound, port_, boxes_); });
}

} // namespace zk
