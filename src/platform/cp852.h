#pragma once
// Code page 852, the OEM page of Central European DOS: names of zip entries written by DOS-type
// systems use it. Qt 6 has no such codec, so the table is our own.
#include <QString>
#include <string_view>

namespace cp852 {

char16_t toUnicode(unsigned char byte);
QString toUnicode(std::string_view bytes);

}  // namespace cp852
