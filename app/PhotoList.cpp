#include "app/PhotoList.h"
// Placeholder until the photo list lands.
void PhotoList::SetFolder(const std::string& path) { folder = path; }
void PhotoList::LoadFolder(const std::string&) { rows.clear(); Replaced(); }
void PhotoList::AddDroppedFiles(const std::vector<std::string>&) { rows.clear(); Replaced(); }
std::string PhotoList::Text(int, int) const { return {}; }
void PhotoList::SetText(int, int, const std::string&) {}
void PhotoList::SetIcon(int, int) {}
void PhotoList::Repaint(int row) { if (observer) observer->RowUpdated(row); }
void PhotoList::Replaced() { if (observer) observer->RowsReplaced(); }
