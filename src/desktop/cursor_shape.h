#pragma once
// The mouse cursors the view asks for.

enum class CursorShape { arrow, size_we, size_ns, size_all, closed_hand };
