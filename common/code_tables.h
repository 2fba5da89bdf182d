#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kivo {

/// Kinds of input files, as stored in DATA_SOURCE.
enum DataSource : int {
    toxswa_data = 0,
    conc_data = 1,
    toxswa_out_data = 2,
    toxswa_out_data_553 = 3,
};

/// Evaluation period codes, as stored in EVALUATION_PERIOD.
enum EvaluationPeriod : int {
    complete = 0,
    user_defined = 1,
};

/// The settings-file text of a data source code ("toxswa_data" ...); empty for an unknown code.
std::string_view DataSourceKeyText(int code);
/// The data source code of a settings-file text, if it is one of the four.
std::optional<int> DataSourceFromKeyText(std::string_view text);

/// The settings-file text of an evaluation period code ("complete", "user_defined").
std::string_view EvaluationPeriodKeyText(int code);
/// The evaluation period code of a settings-file text, if it is one of the two.
std::optional<int> EvaluationPeriodFromKeyText(std::string_view text);
/// The display name of an evaluation period code ("Complete", "User defined").
std::string_view EvaluationPeriodDisplayName(int code);

}  // namespace kivo
