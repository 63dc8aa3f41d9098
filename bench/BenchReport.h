#pragma once

// What every benchmark shares: medians of repeated runs and one table row per figure, printed
// beside the baseline measured in the same run. script/bench reads the last word of each row
// (PASS, FAIL, or "-" where no target is set) for its summary.

#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

struct TBenchRow
{
    std::string What;
    double Ours = 0;
    std::string Baseline; // what the baseline measured; empty when there is none
    double Base = 0;
    const char* Unit = "ms";
    double MaxValue = -1; // target: Ours at most this, in Unit; negative for none
    double MaxRatio = -1; // target: Ours / Base at most this; negative for none
    // A condition that is not a bound on a number ("exactly one relayout"): its text and result.
    std::string Condition;
    bool ConditionHeld = true;
};

// A stopwatch of this process's CPU time, with QElapsedTimer's calls: the machine is shared,
// and wall time would measure the neighbours too. Only for work done in this process.
class TCpuTimer
{
public:
    void start() { Start = Now(); }
    qint64 nsecsElapsed() const { return Now() - Start; }

private:
    static qint64 Now()
    {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }
    qint64 Start = Now();
};

inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Text padded with blanks to a number of terminal columns; East Asian wide characters take two.
inline std::string Padded(const std::string& text, int columns)
{
    int width = 0;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        width += (c >= 0x2E80 && !(c >= 0xFF61 && c <= 0xFF9F)) ? 2 : 1;
        i += length;
    }
    return width >= columns ? text : text + std::string(columns - width, ' ');
}

inline void PrintTableHead(const std::string& title)
{
    std::printf("\n== %s ==\n", title.c_str());
    std::printf("  %-40s %12s   %-30s %12s %8s   %-26s %s\n", "figure", "ours", "baseline", "",
                "ratio", "target", "verdict");
    std::fflush(stdout);
}

inline std::string TargetText(const TBenchRow& row)
{
    std::string text;
    char buffer[64];
    if (row.MaxValue >= 0) {
        std::snprintf(buffer, sizeof buffer, "<= %g %s", row.MaxValue, row.Unit);
        text += buffer;
    }
    if (row.MaxRatio >= 0) {
        if (row.MaxRatio < 1)
            std::snprintf(buffer, sizeof buffer, ">= %gx faster", 1 / row.MaxRatio);
        else
            std::snprintf(buffer, sizeof buffer, "<= %gx base", row.MaxRatio);
        text += (text.empty() ? "" : ", ") + std::string(buffer);
    }
    if (!row.Condition.empty())
        text += (text.empty() ? "" : ", ") + row.Condition;
    return text.empty() ? "-" : text;
}

inline void PrintRow(const TBenchRow& row)
{
    const bool hasBase = !row.Baseline.empty() && row.Base > 0;
    const double ratio = hasBase ? row.Ours / row.Base : 0;
    bool pass = row.ConditionHeld;
    if (row.MaxValue >= 0)
        pass = pass && row.Ours <= row.MaxValue;
    if (row.MaxRatio >= 0)
        pass = pass && hasBase && ratio <= row.MaxRatio;
    const bool hasTarget = row.MaxValue >= 0 || row.MaxRatio >= 0 || !row.Condition.empty();

    char ours[32], base[32], ratioText[16];
    std::snprintf(ours, sizeof ours, "%.3g %s", row.Ours, row.Unit);
    if (row.Ours >= 100)
        std::snprintf(ours, sizeof ours, "%.0f %s", row.Ours, row.Unit);
    std::snprintf(base, sizeof base, hasBase ? (row.Base >= 100 ? "%.0f %s" : "%.3g %s") : "-",
                  row.Base, row.Unit);
    std::snprintf(ratioText, sizeof ratioText, hasBase ? "%.2fx" : "-", ratio);
    std::printf("  %s %12s   %s %12s %8s   %-26s %s\n", Padded(row.What, 40).c_str(), ours,
                Padded(row.Baseline.empty() ? "-" : row.Baseline, 30).c_str(), base, ratioText,
                TargetText(row).c_str(), hasTarget ? (pass ? "PASS" : "FAIL") : "-");
    std::fflush(stdout);
}
