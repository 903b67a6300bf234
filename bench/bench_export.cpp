// Speed of the formatted plan: the example answers composed as a finished plan (cover,
// contents numbered from a layout, ten sections), and that plan exported to PDF, where the
// contents are numbered again for the printed pages. Beside it, the PDF export of a
// generated 10 MB document, which has no contents and takes the plain paging path, and
// the financial plan's figures: read from the answers and computed with a loan.

#include "BenchDocument.h"

#include "formats/DocumentExport.h"
#include "plan/PlanHints.h"
#include "plandoc/FinancialPlan.h"
#include "plandoc/FormattedPlan.h"

#include <QGuiApplication>
#include <QTextDocument>

#include "RunBenchmarks.h"

#include <benchmark/benchmark.h>

namespace {

const QDate Today(2026, 12, 8);

void BM_ComposeFormattedPlan(benchmark::State &state)
{
    const PlanRecord plan = examplePlan();
    for (auto _ : state) {
        QTextDocument doc;
        plandoc::formattedplan::compose(doc, plan, Today);
        benchmark::DoNotOptimize(doc.blockCount());
    }
}

void BM_FormattedPlanToPdf(benchmark::State &state)
{
    const PlanRecord plan = examplePlan();
    for (auto _ : state) {
        QTextDocument doc;
        plandoc::formattedplan::compose(doc, plan, Today);
        const QByteArray pdf = formats::exports::encode(doc, formats::exports::Format::Pdf, QStringLiteral("Plan"));
        if (pdf.isEmpty())
            state.SkipWithError("no PDF");
        benchmark::DoNotOptimize(pdf.size());
    }
}

// The answers read into months, then every figure the dialog shows as the owner types:
// the year, the cash, three years and a forty-year loan's repayments.
void BM_FinancialPlan(benchmark::State &state)
{
    const PlanRecord plan = examplePlan();
    for (auto _ : state) {
        plandoc::finance::FinancialPlan money;
        plandoc::finance::refreshFromAnswers(money, plan.YrIncome, plan.MoExpenses, Today, QStringLiteral("$"));
        money.costOfSales = 3500;
        money.funding = {3750000, 40, 750, 3, {}, {{QStringLiteral("Oven"), 3750000}}, 500000, {}};
        benchmark::DoNotOptimize(plandoc::finance::compute(money).cash);
    }
}

void BM_ExportPdf(benchmark::State &state)
{
    QTextDocument doc;
    bench::buildDocument(doc, state.range(0));
    for (auto _ : state) {
        const QByteArray pdf = formats::exports::encode(doc, formats::exports::Format::Pdf, QStringLiteral("Plan"));
        benchmark::DoNotOptimize(pdf.size());
    }
    state.counters["rtf_bytes"] = double(state.range(0));
}

} // namespace

BENCHMARK(BM_ComposeFormattedPlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormattedPlanToPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinancialPlan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportPdf)->Arg(10 * 1024 * 1024)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
