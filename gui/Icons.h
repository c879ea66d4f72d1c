#pragma once
#include <QIcon>

// The program's own images, drawn in code.
QIcon AppIcon();                 // a map pin on a route
QIcon RowStatusIcon(int index);  // 0 blank, 1 green tick, 2 red cross (16 x 16)
