#include "app/Icons.h"
// Placeholder until the images land.
QIcon AppIcon() { return QIcon(); }
QIcon RowStatusIcon(int) { return QIcon(); }
