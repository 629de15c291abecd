#include "shell/main_window_layout.h"

#include <string>

namespace tovan::shell {
namespace {

using rt::ColumnLayout;
using rt::FontLayout;
using rt::Rect;
using rt::UnitKind;
using rt::UnitLayout;

const FontLayout kTableFont{"宋体", 12, false};

UnitLayout Unit(const char* name, UnitKind kind, const char* caption, Rect rect) {
  UnitLayout unit;
  unit.name = name;
  unit.kind = kind;
  unit.caption = caption;
  unit.rect = rect;
  return unit;
}

UnitLayout Button(const char* name, const char* caption, Rect rect) {
  UnitLayout unit = Unit(name, UnitKind::kPictureButton, caption, rect);
  unit.back_colour = kButtonColour;
  return unit;
}

UnitLayout Combo(const char* name, Rect rect, std::vector<std::string> items, const char* text = "") {
  UnitLayout unit = Unit(name, UnitKind::kComboList, text, rect);
  unit.items = std::move(items);
  unit.back_colour = kButtonColour;
  return unit;
}

UnitLayout Label(const char* name, const char* caption, Rect rect) {
  return Unit(name, UnitKind::kTransparentLabel, caption, rect);
}

// An off-screen state holder: never drawn, read and written by name.
UnitLayout Holder(const char* name, UnitKind kind, const char* caption = "") {
  return Unit(name, kind, caption, Rect{500, 0, 40, 10});
}

std::vector<std::string> Numbers(std::initializer_list<int> values) {
  std::vector<std::string> items;
  for (int v : values) items.push_back(std::to_string(v));
  return items;
}

}  // namespace

rt::WindowLayout MainWindowLayout() {
  return rt::WindowLayout{
      .title = kTitle,
      .width = kWindowWidth,
      .height = kWindowHeight,
      .resizable = false,
      .visible_width = kWindowWidth,
  };
}

std::vector<UnitLayout> MainWindowUnits() {
  std::vector<UnitLayout> units;
  auto add = [&](UnitLayout unit) { units.push_back(std::move(unit)); };

  // The top row: copy-mode buttons.
  add(Button("按钮1", "万条复制", {24, 20, 58, 24}));
  add(Button("按钮102", "有序复制", {84, 20, 56, 24}));
  add(Button("按钮66", "反撇号键粘贴", {142, 20, 82, 24}));
  add(Button("按钮104", "同页粘贴", {226, 20, 58, 24}));
  add(Button("按钮word", "Word", {286, 20, 34, 24}));
  add(Button("按钮excel", "Excel", {322, 20, 34, 24}));
  add(Button("按钮6", "复原", {358, 20, 34, 24}));
  add(Button("按钮75", "查看", {394, 20, 36, 24}));

  // Import mode, interval and paste mode.
  UnitLayout import = Combo("导入方式", {24, 50, 135, 20},
                            {"单次录入", "自定义分割符录入", "Excel制表符录入", "空格分割录入", "", "设置程序界面置顶",
                             "取消程序界面置顶"});
  import.selection = 1;
  add(import);
  add(Label("透明标签5", "时间：", {186, 52, 28, 16}));
  add(Combo("组合框2", {217, 50, 52, 20},
            Numbers({10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 2000,
                     3000, 4000, 5000, 6000, 7000, 8000, 9000})));
  UnitLayout paste_mode = Combo("组合框66", {296, 50, 135, 20},
                                {"手动横向粘贴", "自动横向粘贴", "手动纵向粘贴", "自动纵向粘贴", "账号强制粘贴",
                                 "网页强制粘贴", "自动网页强制粘贴", "勾选项全部粘贴", "多热键横向粘贴",
                                 "多热键纵向粘贴", "单快捷键图文粘贴", "多快捷键图文粘贴"});
  paste_mode.font = kTableFont;
  add(paste_mode);

  // Separator, table commands and search.
  add(Unit("分割符", UnitKind::kEdit, "", {24, 86, 44, 24}));
  add(Button("按钮2", "清空", {72, 86, 38, 24}));
  add(Button("删除", "删除", {112, 86, 38, 24}));
  add(Button("加载热键", "加载热键", {152, 86, 68, 24}));
  add(Button("打开自定义", "打开自定义", {222, 86, 72, 24}));
  add(Label("透明标签1", "查找：", {297, 90, 33, 16}));
  UnitLayout search = Unit("编辑框查询", UnitKind::kEdit, "", {328, 86, 55, 24});
  search.font = kTableFont;
  add(search);
  std::vector<std::string> batch{""};
  for (int i = 1; i <= 100; ++i) batch.push_back(std::to_string(i));
  add(Combo("组合框63", {387, 88, 44, 20}, batch));

  // The data table, and the page text that lies over it in the page-copy modes.
  UnitLayout table = Unit("超级列表框1", UnitKind::kSuperList, "", {16, 117, 422, 360});
  table.columns = {{"序号", 53}, {"内容", 180}, {"跳格", 40}, {"暂停", 40}, {"自定义快捷键", 88}};
  table.font = kTableFont;
  table.back_colour = kButtonColour;
  add(table);
  UnitLayout page = Unit("编辑框25", UnitKind::kMultiLineEdit, "", {16, 117, 422, 360});
  page.visible = false;
  add(page);

  // Save slots.
  const char* const slots = "ABCDE";
  for (int i = 0; i < 5; ++i) {
    const std::string open = std::string("打开") + slots[i];
    const std::string save = std::string("保存") + slots[i];
    add(Button(open.c_str(), open.c_str(), {23 + 41 * i, 485, 39, 24}));
    add(Button(save.c_str(), save.c_str(), {228 + 41 * i, 485, 39, 24}));
  }

  // The recorder.
  add(Button("按钮59", "保存", {25, 525, 42, 24}));
  UnitLayout status = Label("透明标签16", "状态：记录未开启", {75, 525, 98, 24});
  status.text_colour = rt::Colour{0, 0, 255};  // blue, as every status but a finished recording
  add(status);
  add(Label("透明标签24", "速度：", {183, 529, 29, 16}));
  add(Combo("组合框65", {216, 527, 48, 20},
            Numbers({1, 5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 150, 200, 250, 300, 350, 400, 450, 500, 600, 700,
                     800, 900, 1000, 2000, 3000, 4000, 5000, 6000}),
            "原速"));
  add(Label("透明标签17", "模拟次数：", {272, 529, 56, 16}));
  UnitLayout count = Combo("组合框64", {328, 527, 54, 20}, Numbers({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 50, 100, 1000, 9999}),
                           "1");
  count.kind = UnitKind::kComboEdit;
  add(count);
  add(Button("按钮117", "模拟", {388, 525, 42, 24}));
  UnitLayout events = Unit("超级列表框2", UnitKind::kSuperList, "", {24, 554, 190, 84});
  events.columns = {{"类型", 32}, {"键名", 60}, {"键状态", 36}, {"键值", 0}, {"X", 0}, {"Y", 0}, {"状态", 0}, {"时间", 40}};
  events.font = kTableFont;
  add(events);
  const int file_rows[] = {556, 573, 590, 607, 624};
  const int box_rows[] = {555, 572, 589, 606, 624};
  for (int i = 0; i < 5; ++i) {
    const std::string label = "透明标签" + std::to_string(19 + i);
    const std::string caption = std::to_string(i + 1) + "：";
    add(Label(label.c_str(), caption.c_str(), {219, file_rows[i], 12, 12}));
    const std::string box = "选择框" + std::to_string(94 + i);
    add(Unit(box.c_str(), UnitKind::kCheckBox, "", {233, box_rows[i], 12, 12}));
  }
  add(Button("按钮18", "编辑记录", {251, 556, 56, 36}));
  add(Button("按钮19", "官网", {309, 556, 35, 36}));
  UnitLayout recorder = Button("按钮5", "启动按键精灵", {251, 594, 94, 45});
  recorder.font = FontLayout{"宋体", 14, true};
  add(recorder);
  add(Label("透明标签3", "1：", {349, 559, 14, 12}));
  add(Label("透明标签9", "2：", {349, 589, 14, 12}));
  add(Label("透明标签4", "3：", {348, 619, 14, 12}));
  add(Unit("记录", UnitKind::kEdit, "", {362, 557, 68, 20}));
  add(Unit("模拟", UnitKind::kEdit, "", {362, 586, 68, 20}));
  add(Unit("停止", UnitKind::kEdit, "", {362, 616, 68, 20}));

  // In-place cell editors: off-screen at rest, moved over a cell while editing.
  for (const char* name : {"编辑框1007", "编辑框1008"}) {
    UnitLayout editor = Unit(name, UnitKind::kEdit, "", {500, 0, 60, 18});
    editor.floating = true;
    editor.visible = false;
    editor.font = kTableFont;
    add(editor);
  }
  UnitLayout content_editor = Unit("编辑框1009", UnitKind::kMultiLineEdit, "", {500, 0, 260, 60});
  content_editor.floating = true;
  content_editor.visible = false;
  content_editor.font = kTableFont;
  add(content_editor);

  // Off-screen state holders.
  UnitLayout copy_mode = Combo("组合框1", {}, {"万条复制", "有序复制", "Word", "Excel", "同页粘贴", "反撇号键复制粘贴", "", ""});
  copy_mode.rect = {500, 0, 40, 10};
  add(copy_mode);
  add(Holder("标签1", UnitKind::kHotkeyReceiver));
  add(Holder("时钟1", UnitKind::kTimer));
  add(Holder("时钟3", UnitKind::kTimer));
  add(Holder("句柄1", UnitKind::kEdit));
  add(Holder("编辑框句柄", UnitKind::kEdit));
  add(Holder("拖放对象1", UnitKind::kDropTarget));
  add(Holder("拖放对象2", UnitKind::kDropTarget));
  for (int i = 0; i < 10; ++i) add(Holder(CellCursorBox(i).c_str(), UnitKind::kEdit, kCellCursorTexts[i]));
  for (int i = 0; i < 10; ++i) add(Holder(CellCursorFlag(i).c_str(), UnitKind::kCheckBox, "选择框"));
  add(Holder("图文选择", UnitKind::kCheckBox, "图文选择"));
  add(Holder("列表框1", UnitKind::kListBox));
  add(Holder("图片框1", UnitKind::kPictureBox));
  add(Holder("按钮120", UnitKind::kButton, "自动"));
  for (const char* name : {"编辑框1011", "编辑框1000", "编辑框1001", "编辑框1002", "编辑框1003", "编辑框1004",
                           "编辑框1005", "编辑框1010", "编辑框1200", "编辑框70", "编辑框勾选项", "编辑框列号",
                           "编辑框行号", "跳格暂停", "编辑框检查框保存"})
    add(Holder(name, UnitKind::kEdit));
  add(Holder("编辑框检查粘贴次数", UnitKind::kEdit, "0"));
  add(Holder("全选项", UnitKind::kCheckBox, "全选/取消"));
  add(Holder("选择框93", UnitKind::kCheckBox));
  add(Holder("按钮8", UnitKind::kButton, "关闭快捷键"));
  add(Holder("按钮58", UnitKind::kButton, "读入"));
  add(Holder("按钮4", UnitKind::kButton));
  add(Holder("按钮卸载热键", UnitKind::kButton, "卸载热键"));
  add(Holder("加载热键A", UnitKind::kPictureButton, "加载热键"));
  add(Holder("打开检查框", UnitKind::kButton));
  add(Holder("保存检查框", UnitKind::kButton));
  add(Holder("删除1", UnitKind::kPictureButton, "删空行"));
  add(Holder("按钮9", UnitKind::kButton, "查找"));
  add(Holder("气球提示框1", UnitKind::kBalloonTip));
  // Layout only: no behaviour is bound to these and nothing reads them.
  add(Holder("单选框1", UnitKind::kRadio, "普通模拟"));
  add(Holder("按钮7", UnitKind::kButton, "记录"));
  add(Holder("按钮3", UnitKind::kButton, "热键"));
  add(Holder("按钮62", UnitKind::kButton));
  add(Holder("标签29", UnitKind::kLabel, "鼠标精灵："));
  add(Holder("标签30", UnitKind::kLabel, "找坐标"));
  add(Holder("标签2", UnitKind::kLabel));
  add(Holder("标签3", UnitKind::kLabel));
  add(Holder("万条有序", UnitKind::kCheckBox, "万条复制 有序复制选择"));
  add(Holder("选择框92", UnitKind::kCheckBox));
  return units;
}

}  // namespace tovan::shell
