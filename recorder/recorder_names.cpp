#include "recorder/recorder_names.h"

#include <array>
#include <string>

namespace tovan::recorder {
namespace {

struct Named {
  int code;
  const char* name;
};

constexpr Named kKeys[] = {
    {160, "Shift"},   {162, "Ctrl"},     {164, "Alt"},      {27, "Esc"},       {44, "Prt"},     {145, "Scr"},
    {19, "Pau"},      {45, "Ins"},       {36, "Home"},      {33, "PaU"},       {46, "Del"},     {35, "End"},
    {34, "PaD"},      {32, "Space"},     {9, "Tab"},        {20, "CapsL"},     {13, "Enter"},   {107, "+"},
    {106, "*"},       {109, "-"},        {111, "除号"},     {110, "点号"},     {38, "上箭头"},  {39, "右箭头"},
    {40, "下箭头"},   {37, "左箭头"},    {8, "BackS"},      {192, "反撇号键"}, {219, "左大括号"}, {221, "右大括号"},
    {188, "逗号"},    {190, "句号"},     {191, "左斜杠"},   {187, "等号"},     {189, "破折号"}, {220, "右斜杠"},
    {222, "单引号"},  {186, "分号"},
};

// F1 … F12, 0 … 9, A … Z and Num0 … Num9: one name per code of each range.
const std::array<std::string, 256>& Names() {
  static const std::array<std::string, 256> names = [] {
    std::array<std::string, 256> table;
    for (const Named& key : kKeys) table[key.code] = key.name;
    for (int i = 0; i < 12; ++i) table[112 + i] = std::string("F").append(std::to_string(i + 1));
    for (int i = 0; i < 10; ++i) table[48 + i] = std::string(1, static_cast<char>('0' + i));
    for (int i = 0; i < 26; ++i) table[65 + i] = std::string(1, static_cast<char>('A' + i));
    for (int i = 0; i < 10; ++i) table[96 + i] = std::string("Num").append(std::to_string(i));
    return table;
  }();
  return names;
}

}  // namespace

std::string_view RecordedKeyName(int virtual_key) {
  return virtual_key >= 0 && virtual_key < 256 ? std::string_view(Names()[virtual_key]) : std::string_view();
}

std::string_view MouseActionName(int message) {
  switch (message) {
    case 513: return "左键按下";
    case 514: return "左键放开";
    case 516: return "右键按下";
    case 517: return "右键放开";
    case 519: return "中键按下";
    case 520: return "中键放开";
    default: return {};
  }
}

}  // namespace tovan::recorder
