#pragma once
// In-memory controls and views for driving handlers without widgets.
#include <string>
#include <vector>

#include "view/control_set.h"
#include "view/controls.h"
#include "view/find_view.h"
#include "view/settings_view.h"

namespace zk::test {

class MemoryEditBox final : public EditBox
{
public:
    explicit MemoryEditBox(std::string text = {}) : text_(std::move(text)) {}
    std::string content() const override { return text_; }
    void set_content(std::string_view text) override { text_ = text; }

private:
    std::string text_;
};

class MemoryLabel final : public Label
{
public:
    explicit MemoryLabel(std::string text = {}) : text_(std::move(text)) {}
    std::string caption() const override { return text_; }
    void set_caption(std::string_view text) override { text_ = text; }

private:
    std::string text_;
};

class MemoryCheckBox final : public CheckBox
{
public:
    bool checked() const override { return on_; }
    void set_checked(bool on) override { on_ = on; }

private:
    bool on_ = false;
};

class MemoryTabControl final : public TabControl
{
public:
    int current_page() const override { return page_; }
    void show_page(int page) { page_ = page; }

private:
    int page_ = 0;
};

class MemoryItemList final : public ItemList
{
public:
    MemoryItemList() = default;
    explicit MemoryItemList(std::vector<std::string> items) : items_(std::move(items)) {}

    int item_count() const override;
    std::string item_text(int index) const override;
    int add_item(std::string_view text) override;
    bool delete_item(int index) override;
    bool set_item_text(int index, std::string_view text) override;
    int selection() const override { return selected_; }
    const std::vector<std::string>& items() const { return items_; }

protected:
    void select_exactly(int index) override { selected_ = index; }

private:
    std::vector<std::string> items_;
    int selected_ = -1;
};

// Records every message instead of showing it.
class RecordingMessageBoxes final : public MessageBoxes
{
public:
    void message_box(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

// The find window's controls in memory, with the view over them.
struct MemoryFindWindow
{
    MemoryItemList 组合框网卡列表;
    MemoryEditBox 编辑框中控IP, 编辑框子网掩码, 编辑框网关, 编辑框本机IP, 编辑框服务器IP,
        编辑框远程端口;
    MemoryItemList 列表框中控IP;
    FindView view{组合框网卡列表, 编辑框中控IP,   编辑框子网掩码, 编辑框网关,
                  编辑框本机IP,   编辑框服务器IP, 编辑框远程端口, 列表框中控IP};
};

// The settings window's controls in memory, initial texts and items as the window opens.
struct MemorySettingsWindow
{
    MemorySettingsWindow();

    MemoryTabControl 选择夹1;
    MemoryLabel 标签状态;
    MemoryEditBox 编辑框系统音量{"1"}, 编辑框中控ID{"0"};
    MemoryCheckBox 选择框刷卡开机;
    MemoryEditBox 编辑框投影机预热时间, 编辑框投影机散热时间, 编辑框幕布时间;
    MemoryItemList 组合框波特率, 组合框校验方式;
    MemoryEditBox 编辑框开机码, 编辑框关机码, 编辑框视频码, 编辑框电脑码;
    MemoryItemList 组合框投影机型号;
    MemoryEditBox 编辑框命令文本;
    MemoryItemList 组合框转换码;
    MemoryLabel 标签卡数量{"已登记卡数量:"}, 标签指纹数量{"已登记指纹数量:"};
    MemoryEditBox 编辑框卡号;
    MemoryLabel 标签卡状态;
    MemoryEditBox 编辑框授权, 编辑框指纹;
    SettingsView view{选择夹1,
                      标签状态,
                      编辑框系统音量,
                      编辑框中控ID,
                      选择框刷卡开机,
                      编辑框投影机预热时间,
                      编辑框投影机散热时间,
                      编辑框幕布时间,
                      组合框波特率,
                      组合框校验方式,
                      编辑框开机码,
                      编辑框关机码,
                      编辑框视频码,
                      编辑框电脑码,
                      组合框投影机型号,
                      编辑框命令文本,
                      组合框转换码,
                      标签卡数量,
                      标签指纹数量,
                      编辑框卡号,
                      标签卡状态,
                      编辑框授权,
                      编辑框指纹};
};

// In-memory adapters for every control of a layout, with its initial texts and list items.
class MemoryControlFactory final : public view::ControlFactory
{
public:
    std::unique_ptr<EditBox> edit(const view::ControlLayout& entry) override;
    std::unique_ptr<Label> label(const view::ControlLayout& entry) override;
    std::unique_ptr<CheckBox> check(const view::ControlLayout& entry) override;
    std::unique_ptr<TabControl> tab(const view::ControlLayout& entry) override;
    std::unique_ptr<ItemList> combo(const view::ControlLayout& entry) override;
    std::unique_ptr<ItemList> list(const view::ControlLayout& entry) override;
};

} // namespace zk::test
