// The resources the Win32 window loads from its program: the icon, and the
// picture drawn for 96 and for 192 dots per inch.
#pragma once

#define QUORVANE_ICON 1
#define QUORVANE_PICTURE_96DPI 101
#define QUORVANE_PICTURE_192DPI 102
