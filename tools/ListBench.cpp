// Times the photo list filling with a folder of photos and painting its first screen, as
// the window lists it (thumbnails and capture times asked for) and as the same list with
// no previews. Several rounds of each, alternating, so that a busy machine
// weighs on both alike.
//   list_bench FOLDER [ROUNDS]
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>

#include "gui/PhotoListView.h"
#include "photos/PhotoList.h"

namespace {

double Seconds(const std::chrono::steady_clock::time_point& start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Loads the folder and draws the list once; returns the seconds it took.
double ListOnce(const std::string& folder, bool previews)
{
    PhotoList photos;
    const auto start = std::chrono::steady_clock::now();
    photos.LoadFolder(folder);
    PhotoListView view(photos, nullptr, previews);
    view.resize(900, 600);
    view.show();
    view.viewport()->repaint();
    QApplication::processEvents();
    return Seconds(start);
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: list_bench FOLDER [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<double> with, without;
    ListOnce(argv[1], false);   // the folder's entries in the page cache for both
    for (int i = 0; i < rounds; ++i) {
        without.push_back(ListOnce(argv[1], false));
        with.push_back(ListOnce(argv[1], true));
    }
    auto best = [](const std::vector<double>& v) { double b = v[0]; for (double x : v) b = std::min(b, x); return b; };
    std::printf("plain list:                 best %.3f s of %d\n", best(without), rounds);
    std::printf("with thumbnails and times:  best %.3f s of %d\n", best(with), rounds);
    std::printf("ratio: %.2f\n", best(with) / best(without));
    return 0;
}
