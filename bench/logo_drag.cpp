// One drag step of the selection box on a 4000 x 3000 picture: the box's place turned
// into the selection, cut, resampled to 96 x 96, optionally dithered, and the preview
// repaint requested, as the logo view does it on every mouse move.
#include <benchmark/benchmark.h>

#include <functional>

#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "logo/SelectionStep.h"
#include "support/Pictures.h"

namespace {

CLyraDoc& Document() {
    static CLyraApp app;
    static bool ready = [] {
        CLyraDoc& doc = app.Document();
        auto picture = std::make_unique<LbImage>(4000, 3000, 24, 1);
        bench::FillPattern(*picture, 7, 13);
        doc.TakePicture(std::move(picture));
        return true;
    }();
    (void)ready;
    return app.Document();
}

// Arguments: the selection's width and height, dither.
void DragStep(benchmark::State& state) {
    CLyraDoc& doc = Document();
    doc.SetDither(state.range(2) != 0);
    const int w = int(state.range(0)), h = int(state.range(1));
    const logo::ViewMapping mapping{200, 100, 1.0f, false, 4000, 3000, 1200, 900};
    int repaints = 0;
    std::function<void()> repaintPreview = [&repaints] { ++repaints; };
    int offset = 0;
    for (auto _ : state) {
        offset = (offset + 17) % 1000;
        const logo::Rect box = logo::BoxForSelection({offset, offset, offset + w, offset + h});
        logo::SelectionStep step = logo::ApplySelectionStep(doc, box, mapping);
        if (step.applied) repaintPreview();
        benchmark::DoNotOptimize(step);
    }
    state.counters["repaints"] = repaints;
}
BENCHMARK(DragStep)
    ->Args({96, 96, 0})
    ->Args({96, 96, 1})
    ->Args({400, 300, 0})
    ->Args({1200, 900, 0})
    ->Args({1200, 900, 1})
    ->Args({3800, 2900, 0})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
