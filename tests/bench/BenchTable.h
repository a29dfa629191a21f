// Rows of the benchmark table that tools/bench.sh prints: tab-separated lines
// "ROW<tab>figure<tab>measured<tab>reference<tab>ratio" and "SECTION<tab>title";
// every other line a benchmark prints goes to its log only.
#pragma once

#include <cstdio>
#include <string>

namespace bench {

inline std::string Duration(double milliseconds) {
    char text[32];
    if (milliseconds >= 1000.0) {
        std::snprintf(text, sizeof text, "%.2f s", milliseconds / 1000.0);
    } else {
        std::snprintf(text, sizeof text, "%.1f ms", milliseconds);
    }
    return text;
}

inline std::string Ratio(double value, double reference) {
    if (reference <= 0.0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value / reference);
    return text;
}

inline void Section(const std::string& title) { std::printf("SECTION\t%s\n", title.c_str()); }

inline void Row(const std::string& figure, const std::string& measured, const std::string& reference,
                const std::string& ratio) {
    std::printf("ROW\t%s\t%s\t%s\t%s\n", figure.c_str(), measured.c_str(), reference.c_str(), ratio.c_str());
}

}  // namespace bench
