// How long a click on CALCULATE takes with a very long word in the window,
// on the offscreen platform: the encoder and the hex value box together.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "Form1.h"

namespace {

void BM_Command1ClickLongWord(benchmark::State& state) {
    Form1 form;
    form.show();
    const QString word(static_cast<qsizetype>(state.range(0)), QLatin1Char('A'));
    form.findChild<QLineEdit*>(QStringLiteral("word"))->setText(word);
    auto* calculate = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* hexValue = form.findChild<QLineEdit*>(QStringLiteral("HV"));
    for (auto _ : state) {
        hexValue->clear();
        calculate->click();
        QApplication::processEvents();  // let the box lay out and paint
    }
    if (hexValue->text().size() != word.size() * 3) {
        state.SkipWithError("the hex value box does not hold every code");
    }
    state.SetLabel(std::to_string(state.range(0) >> 20) + " MiB word");
}
BENCHMARK(BM_Command1ClickLongWord)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
