// One drag step of the selection box on an 8000 x 8000 picture with a 1200 x 800
// selection, in the real logo view: the box moved, the working logo cut again, and
// the view's repaint of what the move uncovered, as the event loop does it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "logo/widgets/CLogoView.h"
#include "logo/widgets/CSelectionBox.h"
#include "platform/Services.h"
#include "support/Pictures.h"

namespace {

void DragStep(benchmark::State& state) {
    platform::ScriptedServices services;
    CLyraApp app;
    QMainWindow host;
    host.setStatusBar(new QStatusBar(&host));
    auto* view = new CLogoView(&host);
    host.setCentralWidget(view);
    host.resize(1600, 1100);
    CLyraDoc& doc = app.Document();
    doc.AddView(view);
    host.show();
    view->OnInitialUpdate();
    auto picture = std::make_unique<LbImage>(8000, 8000, 24, 1);
    bench::FillPattern(*picture, 7, 13);
    doc.TakePicture(std::move(picture));
    CSelectionBox* box = view->SelectionBox();
    box->setGeometry(QRect(-6, -6, 1212, 812));
    QApplication::processEvents();
    int offset = 0;
    for (auto _ : state) {
        offset = (offset + 3) % 200;
        box->move(offset, offset / 2);
        box->update();
        QApplication::processEvents();  // the repaint of the view and the box
    }
}
BENCHMARK(DragStep)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
