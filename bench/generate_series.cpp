// Writes a deterministic 20-year hourly concentration series (1980-1999, 175,320 rows) with
// spray-drift pulses in the growing season and drainage events in winter, each decaying
// exponentially, and a settings file that analyses it against five thresholds.
//
// Usage: generate_series OUTPUT_DIRECTORY
// Writes OUTPUT_DIRECTORY/series.con, OUTPUT_DIRECTORY/settings.kvo and the directory
// OUTPUT_DIRECTORY/results for the engine's tables.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kFirstYear = 1980;
constexpr int kYears = 20;
constexpr int kStepsPerDay = 24;
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A small self-contained generator, so the series is the same with every standard library.
class SplitMix64 {
  public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    /// Uniform in [0, 1).
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1p-53; }

  private:
    std::uint64_t state_;
};

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

struct CalendarDay {
    int year;
    int month;
    int day;
    int dayOfYear;
};

std::vector<CalendarDay> CalendarDays() {
    std::vector<CalendarDay> days;
    for (int year = kFirstYear; year < kFirstYear + kYears; ++year) {
        int dayOfYear = 0;
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                days.push_back({year, month, day, ++dayOfYear});
            }
        }
    }
    return days;
}

// One exposure source: from its start hour on it adds peak * shape(hours since start).
struct Pulse {
    long long startHour;
    double peak;
    double riseHours;      // linear rise to the peak (0: an instant drift pulse)
    double halfLifeHours;  // exponential decay after the peak
};

std::vector<Pulse> Pulses(const std::vector<CalendarDay>& days, SplitMix64& random) {
    std::vector<Pulse> pulses;
    for (std::size_t d = 0; d < days.size(); ++d) {
        const long long dayStart = static_cast<long long>(d) * kStepsPerDay;
        const int dayOfYear = days[d].dayOfYear;
        // Spray drift: a few applications between April and August, in the morning.
        if (dayOfYear >= 100 && dayOfYear <= 240 && random.Uniform() < 0.03) {
            pulses.push_back({dayStart + 8 + static_cast<long long>(random.Uniform() * 6),
                              0.05 + 3.0 * std::pow(random.Uniform(), 3.0), 0.0,
                              24.0 * (1.0 + 6.0 * random.Uniform())});
        }
        // Drainage: rain events from October to March, rising over hours, draining in days.
        const bool drainageSeason = dayOfYear >= 275 || dayOfYear <= 90;
        if (drainageSeason && random.Uniform() < 0.08) {
            pulses.push_back({dayStart + static_cast<long long>(random.Uniform() * 24),
                              0.001 + 0.8 * std::pow(random.Uniform(), 2.0),
                              2.0 + 10.0 * random.Uniform(), 6.0 + 60.0 * random.Uniform()});
        }
    }
    return pulses;
}

double PulseValue(const Pulse& pulse, long long hour) {
    const double since = static_cast<double>(hour - pulse.startHour);
    if (since < 0.0) return 0.0;
    if (since < pulse.riseHours) return pulse.peak * since / pulse.riseHours;
    return pulse.peak * std::exp2(-(since - pulse.riseHours) / pulse.halfLifeHours);
}

std::vector<double> Concentrations(const std::vector<Pulse>& pulses, long long hours) {
    std::vector<double> values(hours, 0.0);
    for (const Pulse& pulse : pulses) {
        // A pulse is followed until it has fallen below a millionth of its peak.
        const long long span =
            static_cast<long long>(pulse.riseHours + 20.0 * pulse.halfLifeHours) + 1;
        for (long long h = pulse.startHour; h < std::min(hours, pulse.startHour + span); ++h) {
            values[h] += PulseValue(pulse, h);
        }
    }
    return values;
}

bool WriteSeries(const std::string& path, const std::vector<CalendarDay>& days,
                 const std::vector<double>& values) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fprintf(file, "# Generated hourly series for the analysis benchmark\r\n");
    std::fprintf(file, "# Date/Time\t\t\tt\t\tConcentration\r\n");
    for (std::size_t h = 0; h < values.size(); ++h) {
        const CalendarDay& day = days[h / kStepsPerDay];
        std::fprintf(file, "%02d-%s-%04d-%02dh00\t%.6f\t%.6E\r\n", day.day, kMonths[day.month - 1],
                     day.year, static_cast<int>(h % kStepsPerDay),
                     static_cast<double>(h) / kStepsPerDay, values[h]);
    }
    return std::fclose(file) == 0;
}

bool WriteSettings(const std::string& path, const std::string& seriesPath,
                   const std::string& resultDirectory) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const std::string text =
        "#                               KIVO SETTINGS FILE\r\n"
        "  DATA_SOURCE: conc_data\r\n"
        "  EVALUATION_PERIOD: complete\r\n"
        "  LOQ: 1.000000e-10\r\n"
        "  THRESHOLD_CONCENTRATION_LEVEL: 1.000000e-03\r\n"
        "  THRESHOLD_CONCENTRATION_LEVEL: 1.000000e-02\r\n"
        "  THRESHOLD_CONCENTRATION_LEVEL: 1.000000e-01\r\n"
        "  THRESHOLD_CONCENTRATION_LEVEL: 5.000000e-01\r\n"
        "  THRESHOLD_CONCENTRATION_LEVEL: 1.000000e+00\r\n"
        "  USER_DEFINED_PERCENTILE: 95\r\n"
        "  USER_DEFINED_WINDOW_SIZE: 56\r\n"
        "  INPUT_FILE: " +
        seriesPath +
        "\r\n"
        "  OUTPUT_DIRECTORY: " +
        resultDirectory +
        "\r\n"
        "  SUBSTANCE_SELECTION: \r\n"
        "  HOUR_SELECTION: FULL\r\n"
        "  UNIT_ID: 1\r\n"
        "  UNIT_NAME: \xB5g/L\r\n"
        "  UNIT_FACTOR: 1\r\n";
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_series OUTPUT_DIRECTORY\n");
        return 2;
    }
    const std::filesystem::path directory = std::filesystem::absolute(argv[1]);
    const std::filesystem::path results = directory / "results";
    std::error_code error;
    std::filesystem::create_directories(results, error);
    if (error) {
        std::fprintf(stderr, "cannot create %s\n", results.string().c_str());
        return 1;
    }
    const std::vector<CalendarDay> days = CalendarDays();
    SplitMix64 random(20240611);
    const std::vector<Pulse> pulses = Pulses(days, random);
    const std::vector<double> values =
        Concentrations(pulses, static_cast<long long>(days.size()) * kStepsPerDay);
    const std::string seriesPath = (directory / "series.con").string();
    if (!WriteSeries(seriesPath, days, values) ||
        !WriteSettings((directory / "settings.kvo").string(), seriesPath, results.string())) {
        std::fprintf(stderr, "cannot write into %s\n", directory.string().c_str());
        return 1;
    }
    std::printf("%zu rows, %zu pulses: %s\n", values.size(), pulses.size(), seriesPath.c_str());
    return 0;
}
