#pragma once

// The program's icon in its resources: the window's, and the one Windows
// shows for koren.exe.
#define IDI_KOREN 1
