#include "common/code_tables.h"

#include <array>

namespace kivo {
namespace {

constexpr std::array<std::string_view, 4> kDataSourceKeys = {
    "toxswa_data", "conc_data", "toxswa_out_data", "toxswa_out_data_553"};
constexpr std::array<std::string_view, 2> kEvaluationPeriodKeys = {"complete", "user_defined"};
constexpr std::array<std::string_view, 2> kEvaluationPeriodNames = {"Complete", "User defined"};

template <std::size_t N>
std::optional<int> IndexOf(const std::array<std::string_view, N>& table, std::string_view text) {
    for (std::size_t i = 0; i < N; ++i) {
        if (table[i] == text) return static_cast<int>(i);
    }
    return std::nullopt;
}

template <std::size_t N>
std::string_view At(const std::array<std::string_view, N>& table, int code) {
    if (code < 0 || code >= static_cast<int>(N)) return {};
    return table[static_cast<std::size_t>(code)];
}

}  // namespace

std::string_view DataSourceKeyText(int code) { return At(kDataSourceKeys, code); }
std::optional<int> DataSourceFromKeyText(std::string_view text) {
    return IndexOf(kDataSourceKeys, text);
}
std::string_view EvaluationPeriodKeyText(int code) { return At(kEvaluationPeriodKeys, code); }
std::optional<int> EvaluationPeriodFromKeyText(std::string_view text) {
    return IndexOf(kEvaluationPeriodKeys, text);
}
std::string_view EvaluationPeriodDisplayName(int code) { return At(kEvaluationPeriodNames, code); }

}  // namespace kivo
