#include "present/settings/present.h"

#include <array>
#include <string>

#include "base/text.h"
#include "base/values.h"
#include "present/settings/serial_codes.h"
#include "protocol/hs3_frame.h"

namespace zk::present {

using protocol::AuthorisationAck;
using protocol::CardCount;
using protocol::CardDeletionAck;
using protocol::CardLookup;
using protocol::CardRead;
using protocol::CardRegistrationAck;
using protocol::ControllerIdAck;
using protocol::ControllerIdData;
using protocol::ControllerLink;
using protocol::decode_reply;
using protocol::FingerprintCount;
using protocol::FingerprintDeletionAck;
using protocol::FingerprintEnrolmentAck;
using protocol::ProjectorCodesAck;
using protocol::ProjectorCodesData;
using protocol::ReadFingerprintCount;
using protocol::RegistrationResult;
using protocol::Reply;
using protocol::send_request;
using protocol::SendOutcome;
using protocol::SwipeModeAck;
using protocol::SwipeModeData;
using protocol::TimingsAck;
using protocol::TimingsData;
using protocol::VolumeAck;
using protocol::VolumeData;

namespace {

std::string decimal(std::int64_t value)
{
    return to_text(value);
}

std::string_view enrolment_text(const FingerprintEnrolmentAck& ack)
{
    static constexpr std::array<std::string_view, 4> failed = {
        "第一次录入失败,请重新输入", "第二次录入失败,请重新输入", "第三次录入失败,请重新输入",
        "第四次录入失败,请重新输入"};
    static constexpr std::array<std::string_view, 4> succeeded = {
        "第一次录入成功,再次输入", "第二次录入成功,再次输入", "第三次录入成功,再次输入",
        "录入指纹成功"};
    const std::size_t step = ack.step >= 1 && ack.step <= 4 ? ack.step - 1u : 3u;
    return ack.succeeded ? succeeded[step] : failed[step];
}

std::string_view registration_text(RegistrationResult result)
{
    switch (result) {
    case RegistrationResult::failed:
        return "卡号登记失败";
    case RegistrationResult::registered:
        return "卡号登记成功";
    case RegistrationResult::already_present:
        return "卡号已存在";
    }
    return {};
}

// Code bytes are appended, not replaced: the read request has cleared the boxes.
void append_code(EditBox& box, const Bytes& code)
{
    std::string text = box.content();
    for (const std::uint8_t byte : code)
        text += byte_to_hex_pair(byte) + " ";
    box.set_content(text);
}

struct Presenter
{
    SettingsView& view;
    const ControllerLink& link;

    void status(std::string_view text) const { view.标签状态.set_caption(text); }
    void card_status(std::string_view text) const { view.标签卡状态.set_caption(text); }

    void operator()(const VolumeData& r) const
    {
        view.编辑框系统音量.set_content(decimal(r.volume));
        status("系统音量读出成功");
    }
    void operator()(const VolumeAck&) const { status("系统音量写入成功"); }
    void operator()(const TimingsData& r) const
    {
        view.编辑框投影机预热时间.set_content(decimal(r.warm_up));
        view.编辑框投影机散热时间.set_content(decimal(r.cool_down));
        view.编辑框幕布时间.set_content(decimal(r.screen));
        status("系统时间读出成功");
    }
    void operator()(const TimingsAck&) const { status("系统时间写入成功"); }
    void operator()(const ControllerIdData& r) const
    {
        view.编辑框中控ID.set_content(decimal(r.id));
        status("中控ID读出成功");
    }
    void operator()(const ControllerIdAck&) const { status("中控ID写入成功"); }
    void operator()(const AuthorisationAck& r) const
    {
        view.编辑框授权.set_content(r.paused ? "暂停授权检测" : "恢复授权检测");
    }
    void operator()(const CardRead& r) const
    {
        view.编辑框卡号.set_content(decimal(r.card));
        status("卡号读出成功");
        card_status("卡号读出成功");
    }
    void operator()(const CardCount& r) const
    {
        view.标签卡数量.set_caption(concat({"已登记卡数量：", decimal(r.count)}));
        const SendOutcome sent = send_request(link, ReadFingerprintCount{});
        // The request goes out unasked; its failure must still be seen.
        if (sent != SendOutcome::sent) status(msg_send_failed);
    }
    void operator()(const CardLookup& r) const
    {
        card_status(concat({r.found ? "找到卡号:" : "未登记卡号:", view.编辑框卡号.content()}));
    }
    void operator()(const CardRegistrationAck& r) const
    {
        status(registration_text(r.result));
        card_status(registration_text(r.result));
    }
    void operator()(const FingerprintEnrolmentAck& r) const
    {
        view.编辑框指纹.set_content(enrolment_text(r));
    }
    void operator()(const FingerprintDeletionAck& r) const
    {
        view.编辑框指纹.set_content(r.deleted ? "删除指纹成功" : "删除指纹失败");
    }
    void operator()(const CardDeletionAck& r) const
    {
        card_status(concat({r.deleted ? "删除卡号:" : "未登记卡号:", view.编辑框卡号.content()}));
    }
    void operator()(const SwipeModeData& r) const
    {
        status(r.swipe_card ? "刷卡模式" : "公开模式");
        view.选择框刷卡开机.set_checked(r.swipe_card);
    }
    void operator()(const SwipeModeAck&) const { status("刷卡模式设置成功"); }
    void operator()(const FingerprintCount& r) const
    {
        view.标签指纹数量.set_caption(concat({"已登记指纹数量:", decimal(r.count)}));
    }
    void operator()(const ProjectorCodesData& r) const
    {
        status("投影码读出成功");
        if (r.baud) view.组合框波特率.select_by_text(decimal(*r.baud));
        if (r.parity) view.组合框校验方式.set_selection(*r.parity);
        const auto boxes = code_boxes(view);
        for (std::size_t i = 0; i < r.codes.size() && i < boxes.size(); ++i)
            append_code(boxes[i].box, r.codes[i]);
    }
    void operator()(const ProjectorCodesAck&) const { status("投影码写入成功"); }
};

} // namespace

void present_reply(const Reply& reply, SettingsView& view, const ControllerLink& link)
{
    std::visit(Presenter{view, link}, reply);
}

std::optional<Reply>
on_settings_datagram(ByteView datagram, SettingsView& view, const ControllerLink& link)
{
    std::optional<Reply> reply = decode_reply(datagram);
    if (reply) present_reply(*reply, view, link);
    return reply;
}

} // namespace zk::present
