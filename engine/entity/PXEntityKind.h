// Four-character kind codes answered by PXEntityBaseType::IsA, first character in the top byte.
#pragma once

#include <cstdint>

constexpr uint32_t PXKindCode(const char (&code)[5])
{
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

namespace PXKind {
constexpr uint32_t Unknown = PXKindCode("UNKN");  // every type; accepts any type in CreateEntity
constexpr uint32_t GuiElement = PXKindCode("GUIE");
constexpr uint32_t Button = PXKindCode("BUTN");
constexpr uint32_t Font = PXKindCode("FONT");
constexpr uint32_t Text = PXKindCode("TEXT");
constexpr uint32_t Scene = PXKindCode("SCNE");
constexpr uint32_t DialogBox = PXKindCode("DLGB");
constexpr uint32_t DialogFrame = PXKindCode("DFRM");
constexpr uint32_t DialogScene = PXKindCode("DLGS");
constexpr uint32_t InputBox = PXKindCode("INPT");
constexpr uint32_t MessageBox = PXKindCode("MSGB");
constexpr uint32_t HighScoreInputScene = PXKindCode("HSIS");
constexpr uint32_t GameScene = PXKindCode("GAME");
}  // namespace PXKind
