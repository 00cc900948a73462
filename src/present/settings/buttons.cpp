#include "present/settings/buttons.h"

#include "present/settings/cards.h"
#include "present/settings/fingerprints.h"
#include "present/settings/identity_volume.h"
#include "present/settings/serial_codes.h"
#include "present/settings/serial_codes_text.h"
#include "present/settings/timings_mode.h"

namespace zk::present {

namespace {

constexpr ButtonAction buttons[] = {
    // Page "基本参数".
    {"按钮读系统音量", on_read_volume},
    {"按钮写系统音量", on_write_volume},
    {"按钮读中控ID", on_read_controller_id},
    {"按钮写中控ID", on_write_controller_id},
    {"按钮读刷卡开机", on_read_swipe_mode},
    {"按钮写刷卡开机", on_write_swipe_mode},
    {"按钮读时间", on_read_timings},
    {"按钮写时间", on_write_timings},
    // Page "投影机码".
    {"按钮读串口码", on_read_serial_codes},
    {"按钮写串口码", on_write_serial_codes},
    {"按钮输入", on_code_text_in},
    {"按钮输出", on_code_text_out},
    // Page "授权管理".
    {"按钮读卡", on_read_card},
    {"按钮写卡", on_register_card},
    {"按钮查看", on_lookup_card},
    {"按钮删卡", on_delete_card},
    {"按钮暂停授权", on_pause_authorisation},
    {"按钮恢复授权", on_resume_authorisation},
    {"按钮添加指纹", on_add_fingerprint},
    {"按钮删除指纹", on_delete_fingerprint},
};

} // namespace

std::span<const ButtonAction> settings_buttons()
{
    return buttons;
}

} // namespace zk::present
