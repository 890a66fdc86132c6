// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_files.h"

#include "analysis/dimension_names.h"
#include "analysis/events_report.h"
#include "analysis/report_format.h"
#include "files/dimension_file.h"
#include "model/dimensions.h"
#include "model/model.h"

#include <array>
#include <charconv>
#include <memory>
#include <ostream>

namespace cli {

namespace {

// A stored dimension in the fewest digits that read back to the same float.
std::string FloatText(float v) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
    return std::string(buffer.data(), result.ptr);
}

std::string IdText(const kes::NamedDimension& d) {
    return d.Id ? std::to_string(d.Id) : std::string();
}

std::string DisplayName(const kes::NamedDimension& d) {
    return kes::CsvText(d.Id ? kes::DimensionName(d.Id) : d.Name);
}

std::unique_ptr<kes::Model> LoadDesign(const kes::Model& current, const std::string& path,
                                       const std::vector<DesignEdit>& edits) {
    auto m = std::make_unique<kes::Model>();
    if (path == "-") {
        *m = current;
        return m;
    }
    kes::InitialiseModel(*m);
    const kes::FileResult result = kes::LoadDimensionsByExtension(*m, path);
    if (!result.Ok) throw RunError(path + ": " + result.Message);
    ApplyDesignEdits(*m, edits);
    return m;
}

} // namespace

int RunDims(kes::Model& m, Args& args, std::ostream& out) {
    args.ExpectEmpty();
    out << "id,name,display_name,value\n";
    for (const kes::NamedDimension& d : kes::NamedDimensions())
        out << IdText(d) << ',' << d.Name << ',' << DisplayName(d) << ','
            << FloatText(kes::GetNamedDimension(m, d)) << '\n';
    return 0;
}

int RunSave(kes::Model& m, Args& args, std::ostream& out) {
    const auto output = args.TakeValue("-o");
    args.ExpectEmpty();
    if (!output || output->empty()) throw UsageError("save: -o FILE.kvd is required");
    const kes::FileResult result = kes::SaveDimensionFile(m, *output);
    if (!result.Ok) throw RunError(*output + ": " + result.Message);
    out << *output << "\n";
    return 0;
}

int RunCompare(kes::Model& m, const std::vector<DesignEdit>& edits, Args& args, std::ostream& out) {
    const auto pathA = args.TakePositional();
    const auto pathB = args.TakePositional();
    args.ExpectEmpty();
    if (!pathA || !pathB) throw UsageError("compare: name two dimension files (A.kvd B.kvd)");
    const auto a = LoadDesign(m, *pathA, edits);
    const auto b = LoadDesign(m, *pathB, edits);

    out << "id,name,display_name,a,b,b_minus_a\n";
    for (const kes::NamedDimension& d : kes::NamedDimensions()) {
        const float va = kes::GetNamedDimension(*a, d), vb = kes::GetNamedDimension(*b, d);
        if (va == vb) continue;
        out << IdText(d) << ',' << d.Name << ',' << DisplayName(d) << ',' << FloatText(va) << ','
            << FloatText(vb) << ','
            << kes::CsvNumber(static_cast<double>(vb) - static_cast<double>(va)) << '\n';
    }

    // Each design's default report; rows are matched by their place.
    const kes::EventsReport ra = kes::ComputeReport(*a, kes::DefaultReportDef(*a));
    const kes::EventsReport rb = kes::ComputeReport(*b, kes::DefaultReportDef(*b));
    out << "\nrow,direction,field,a,b,b_minus_a\n";
    const auto columns = kes::ReportColumns();
    const size_t rows = std::max(ra.Rows.size(), rb.Rows.size());
    for (size_t r = 0; r < rows; ++r) {
        const kes::ReportRow* rowA = r < ra.Rows.size() ? &ra.Rows[r] : nullptr;
        const kes::ReportRow* rowB = r < rb.Rows.size() ? &rb.Rows[r] : nullptr;
        const kes::ReportRow& any = rowA ? *rowA : *rowB;
        for (size_t c = 0; c < columns.size(); ++c) {
            if (columns[c].Kind == kes::ColumnKind::Text) continue; // the direction
            const auto text = [&](const kes::EventsReport& rep, const kes::ReportRow* row) {
                return row ? kes::ReportCellText(rep, *row, c) : std::string();
            };
            const auto na = rowA ? kes::ReportCellNumber(ra, *rowA, c) : std::nullopt;
            const auto nb = rowB ? kes::ReportCellNumber(rb, *rowB, c) : std::nullopt;
            out << r + 1 << ',' << kes::RunDirectionText(any.Direction) << ',' << columns[c].Name
                << ',' << text(ra, rowA) << ',' << text(rb, rowB) << ','
                << (na && nb ? kes::CsvNumber(*nb - *na) : std::string()) << '\n';
        }
    }
    return 0;
}

} // namespace cli
