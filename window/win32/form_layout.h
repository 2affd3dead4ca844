// Form1's controls as the Win32 window lays them out: kind, caption and
// place in twips (1440 to the inch), in z-order. Each text box's caption
// comes just before it, which is how Windows finds a text box's name for a
// screen reader; an option button carries its caption's text as its own
// name. The option buttons stand together, one group.
#pragma once

#include <array>

namespace control_id {
// IDs from 100 up: 1 and 2 are the dialog manager's Enter and Escape.
enum : int {
    Label1 = 100,
    offset,
    Label2,
    pointer,
    Calculate,
    Exit,
    Label4,
    Label5,
    Option1,
    Option2,
    Label6,
    word,
    Command1,
    Label7,
    HV,
    Label8,
    Label3,
};
}  // namespace control_id

enum class ControlKind { Label, TextBox, Button, Option };

struct Twips {
    int left, top, width, height;
};

struct ControlLayout {
    int id;
    ControlKind kind;
    const wchar_t* text;
    Twips place;
};

// An option button is as wide as its round button (13 pixels at 96 dots per
// inch): its own caption, which names it for screen readers, and the focus
// rectangle round that caption fall outside it, as the label beside it
// shows the caption (the window draws the focus ring round the button).
inline constexpr int kRoundButton = 195;

inline constexpr Twips kClientArea{0, 0, 5610, 4935};
inline constexpr Twips kPicture{120, 120, 1530, 2070};
inline constexpr Twips kLine{240, 2400, 5040, 0};  // from (240, 2400) to (5280, 2400)

inline constexpr std::array<ControlLayout, 17> kControls{{
    {control_id::Label1, ControlKind::Label, L"Offset", {1800, 1050, 450, 255}},
    {control_id::offset, ControlKind::TextBox, L"", {2520, 960, 1215, 405}},
    {control_id::Label2, ControlKind::Label, L"Pointer", {1800, 1680, 615, 255}},
    {control_id::pointer, ControlKind::TextBox, L"", {2520, 1560, 1215, 405}},
    {control_id::Calculate, ControlKind::Button, L"Calculate", {4080, 960, 1215, 375}},
    {control_id::Exit, ControlKind::Button, L"Exit", {4080, 1560, 1215, 375}},
    {control_id::Label4, ControlKind::Label, L"Type 1", {2520, 360, 1095, 375}},
    {control_id::Label5, ControlKind::Label, L"Type 2", {4800, 360, 615, 375}},
    {control_id::Option1, ControlKind::Option, L"Type 1", {2040, 360, kRoundButton, 255}},
    {control_id::Option2, ControlKind::Option, L"Type 2", {4320, 360, kRoundButton, 255}},
    {control_id::Label6, ControlKind::Label, L"WORD", {600, 3300, 615, 255}},
    {control_id::word, ControlKind::TextBox, L"ONLY CAPITAL!", {1320, 3240, 2415, 375}},
    {control_id::Command1, ControlKind::Button, L"CALCULATE", {4080, 3240, 1215, 375}},
    {control_id::Label7, ControlKind::Label, L"HEX VALUE", {240, 3920, 975, 255}},
    {control_id::HV, ControlKind::TextBox, L"", {1320, 3840, 3975, 375}},
    {control_id::Label8, ControlKind::Label, L"WORD TO HEX CALCULATOR", {1680, 2640, 2415, 255}},
    {control_id::Label3,
     ControlKind::Label,
     L"Just for Nekketsu! Street Basket - Ganbare Dunk Heroes.nes",
     {600, 4440, 4575, 375}},
}};
