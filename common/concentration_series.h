#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/analysis_settings.h"
#include "common/text_file_writer.h"

namespace kivo {

/// One sample of a concentration series.
struct TTimeConcentration {
    double t = 0.0;              ///< days since the start of the model run
    double concentration = 0.0;  ///< in the unit of the series
    double dateTime = 0.0;       ///< days since 30 December 1899 00:00
};

/// Lower-case three-letter English month abbreviations to month numbers.
std::map<std::string, int>& MonthNumbers();
/// Fills MonthNumbers (the engine does so before anything else).
void FillMonthNumbers();

/// The date/time serial of a token such as 01-Jan-1980-06h00 (29221.25). Throws
/// FatalError for a token shorter than 17 characters, an unknown month or a date or time
/// that does not exist; the message names `fileName` and `lineNumber` when given.
double ParseDateTimeToken(std::string_view token, const std::string& fileName = {},
                          long lineNumber = 0);

/// A concentration series file opened for reading: tokens separated by blanks, tabs and line
/// ends, read in large blocks; keeps the line number for messages.
class ConcentrationStream {
  public:
    /// Opens `path`; `displayName` is the name that messages give (the path when empty).
    explicit ConcentrationStream(const std::string& path, const std::string& displayName = {});
    ~ConcentrationStream();
    ConcentrationStream(const ConcentrationStream&) = delete;
    ConcentrationStream& operator=(const ConcentrationStream&) = delete;

    bool IsOpen() const;
    /// True once a read found no further token (end of data or failure).
    bool Failed() const;
    /// True once a read found no further token because the input ended (a 1A byte ends it
    /// too); stays false after a read error or when the file could not be opened.
    bool ReachedEnd() const;
    /// The line of the token read last.
    long LineNumber() const;
    const std::string& DisplayName() const;

    struct Impl;

  private:
    Impl* impl_;
    friend int ReadConcentrationRow(ConcentrationStream&, std::string&, TTimeConcentration&);
};

/// Reads the next row into `row`: 0 a row was read; 1 no row (end of data or read failure,
/// `row` unchanged); 2 a comment line was skipped (`row` unchanged). A malformed row (bad
/// date/time token, a row cut short, a concentration that is no number) throws FatalError
/// naming the file, the line and the offending text.
int ReadConcentrationRow(ConcentrationStream& in, std::string& token, TTimeConcentration& row);

/// The number of rows whose t lies after the first row's t by at most one day. Throws
/// FatalError "Error while reading file \"<name>\"!" for a missing or unreadable file.
int CountStepsPerDay(const std::string& path, const std::string& displayName = {});

/// Reads every row of a series file (the front end's graph, benchmarks and tests).
std::vector<TTimeConcentration> ReadConcentrationFile(const std::string& path,
                                                      const std::string& displayName = {});

/// The 23 (user defined period) or 21 header lines of a converted series, CR LF each.
std::string ConcentrationHeaderText(const AnalysisSettings& settings, const std::string& sourcePath,
                                    int segment);
/// Writes ConcentrationHeaderText to an open output file.
void WriteConcentrationHeader(TextFileWriter& out, const AnalysisSettings& settings,
                              const std::string& sourcePath, int segment);

}  // namespace kivo
