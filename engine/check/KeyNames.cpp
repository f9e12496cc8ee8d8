#include "KeyNames.h"

namespace {

struct NamedKey {
    int code;
    const char* name;
};

// Punctuation keys follow the UK layout: 192 is the ' key there (it is ` on a
// US keyboard), 222 the # key (' on a US keyboard) and 223 the ` key.
constexpr NamedKey kNamedKeys[] = {
    {8, "Backspace"},     {9, "Tab"},          {13, "Enter"},         {16, "Shift"},
    {17, "Ctrl"},         {18, "Alt"},         {19, "Pause"},         {20, "Caps Lock"},
    {27, "Esc"},          {32, "Space"},       {33, "Page Up"},       {34, "Page Down"},
    {35, "End"},          {36, "Home"},        {37, "Left"},          {38, "Up"},
    {39, "Right"},        {40, "Down"},        {44, "Print Screen"},  {45, "Insert"},
    {46, "Delete"},       {91, "Left Windows"}, {92, "Right Windows"}, {93, "Menu"},
    {106, "Num *"},       {107, "Num +"},      {109, "Num -"},        {110, "Num ."},
    {111, "Num /"},       {144, "Num Lock"},   {145, "Scroll Lock"},  {160, "Left Shift"},
    {161, "Right Shift"}, {162, "Left Ctrl"},  {163, "Right Ctrl"},   {164, "Left Alt"},
    {165, "AltGr"},       {186, ";"},          {187, "="},            {188, ","},
    {189, "-"},           {190, "."},          {191, "/"},            {192, "'"},
    {219, "["},           {220, "\\"},         {221, "]"},            {222, "#"},
    {223, "`"},
};

}  // namespace

std::string KeyName(int code) {
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
    if (code >= 96 && code <= 105) return "Num " + std::to_string(code - 96);
    if (code >= 112 && code <= 135) return "F" + std::to_string(code - 111);
    for (const NamedKey& key : kNamedKeys) {
        if (key.code == code) return key.name;
    }
    return "VK " + std::to_string(code);
}
