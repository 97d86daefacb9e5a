// Prints one table from the JSON report of the benchmarks: per benchmark the
// median wall time per iteration, items and bytes per second, its counters
// and the ratio of its time to its baseline's (named in its label as
// "baseline: <benchmark>").
//   sentrell-bench-table <report.json>
#include <json/json.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Row {
  std::string name;
  double nanoseconds = -1;
  int repetitions = 1;
  std::string spread;  // coefficient of variation of the time over the repetitions
  std::string itemsPerSecond, bytesPerSecond, counters, label, error;
  bool fromMedian = false;
  // Where the benchmark was registered: rows are listed in that order, not
  // in the order of an interleaved run.
  long long family = -1, instance = -1;
};

std::string Format(const char* pattern, double value, const char* unit) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value, unit);
  return text;
}

std::string Time(double ns) {
  if (ns < 1e3) return Format("%.1f %s", ns, "ns");
  if (ns < 1e6) return Format("%.2f %s", ns / 1e3, "us");
  if (ns < 1e9) return Format("%.2f %s", ns / 1e6, "ms");
  return Format("%.2f %s", ns / 1e9, "s");
}

std::string Rate(double perSecond) {
  if (perSecond >= 1e9) return Format("%.2f %s", perSecond / 1e9, "G/s");
  if (perSecond >= 1e6) return Format("%.2f %s", perSecond / 1e6, "M/s");
  if (perSecond >= 1e3) return Format("%.2f %s", perSecond / 1e3, "k/s");
  return Format("%.1f %s", perSecond, "/s");
}

std::string ByteRate(double perSecond) {
  if (perSecond >= 1024.0 * 1024 * 1024) return Format("%.2f %s", perSecond / (1024.0 * 1024 * 1024), "GiB/s");
  if (perSecond >= 1024.0 * 1024) return Format("%.1f %s", perSecond / (1024.0 * 1024), "MiB/s");
  return Format("%.1f %s", perSecond / 1024.0, "KiB/s");
}

double Nanoseconds(double value, const std::string& unit) {
  if (unit == "us") return value * 1e3;
  if (unit == "ms") return value * 1e6;
  if (unit == "s") return value * 1e9;
  return value;
}

// The members every entry has; any other number is a counter of the benchmark.
const std::set<std::string> kReportMembers = {
    "name", "family_index", "per_family_instance_index", "run_name", "run_type", "repetitions", "repetition_index",
    "threads", "aggregate_name", "aggregate_unit", "iterations", "real_time", "cpu_time", "time_unit", "label",
    "items_per_second", "bytes_per_second", "error_occurred", "error_message"};

std::string Counters(const Json::Value& entry) {
  std::string text;
  for (const std::string& member : entry.getMemberNames()) {
    if (kReportMembers.count(member) != 0 || !entry[member].isNumeric()) continue;
    const double value = entry[member].asDouble();
    if (!text.empty()) text += ", ";
    text += member + " " +
            (member.find("bytes") != std::string::npos ? Format("%.1f %s", value / 1024.0, "KiB")
                                                       : Format("%.2f%s", value, ""));
  }
  return text;
}

// The name without the marks of its run settings (wall time, a fixed
// iteration count, its own repetitions).
std::string WithoutSuffix(const std::string& name) {
  std::string shown;
  std::size_t from = 0;
  while (from <= name.size()) {
    const std::size_t slash = std::min(name.find('/', from), name.size());
    const std::string part = name.substr(from, slash - from);
    if (part != "real_time" && part.rfind("iterations:", 0) != 0 && part.rfind("repeats:", 0) != 0)
      shown += (shown.empty() ? "" : "/") + part;
    from = slash + 1;
  }
  return shown;
}

void Fill(Row& row, const Json::Value& entry) {
  row.nanoseconds = Nanoseconds(entry["real_time"].asDouble(), entry["time_unit"].asString());
  row.repetitions = entry.get("repetitions", 1).asInt();
  if (entry.isMember("items_per_second")) row.itemsPerSecond = Rate(entry["items_per_second"].asDouble());
  if (entry.isMember("bytes_per_second")) row.bytesPerSecond = ByteRate(entry["bytes_per_second"].asDouble());
  row.counters = Counters(entry);
}

void Print(const std::vector<std::vector<std::string>>& cells) {
  std::vector<std::size_t> widths;
  for (const auto& line : cells)
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], line[i].size());
    }
  auto printLine = [&](const std::vector<std::string>& line) {
    std::string text = "|";
    for (std::size_t i = 0; i < widths.size(); ++i) {
      const std::string cell = i < line.size() ? line[i] : "";
      text += " " + cell + std::string(widths[i] - cell.size(), ' ') + " |";
    }
    std::cout << text << "\n";
  };
  printLine(cells.front());
  std::string rule = "|";
  for (const std::size_t width : widths) rule += std::string(width + 2, '-') + "|";
  std::cout << rule << "\n";
  for (std::size_t i = 1; i < cells.size(); ++i) printLine(cells[i]);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: sentrell-bench-table <report.json>\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  Json::Value report;
  Json::CharReaderBuilder reader;
  std::string problem;
  if (!in || !Json::parseFromStream(reader, in, &report, &problem) || !report["benchmarks"].isArray()) {
    std::cerr << "cannot read the benchmark report " << argv[1] << ": " << problem << "\n";
    return 1;
  }

  std::vector<std::string> order;
  std::map<std::string, Row> rows;
  for (const Json::Value& entry : report["benchmarks"]) {
    const std::string name = WithoutSuffix(entry.get("run_name", entry["name"]).asString());
    if (rows.count(name) == 0) {
      order.push_back(name);
      Row& added = rows[name];
      added.name = name;
      added.family = entry.get("family_index", -1).asLargestInt();
      added.instance = entry.get("per_family_instance_index", -1).asLargestInt();
    }
    Row& row = rows[name];
    if (entry.isMember("label") && row.label.empty()) row.label = entry["label"].asString();
    if (entry.get("error_occurred", false).asBool()) {
      row.error = entry.get("error_message", "failed").asString();
      continue;
    }
    const std::string aggregate = entry.get("aggregate_name", "").asString();
    if (aggregate == "cv") row.spread = Format("%.1f %s", entry["real_time"].asDouble() * 100, "%");
    const bool median = aggregate == "median";
    if (median || (entry.get("run_type", "").asString() == "iteration" && !row.fromMedian)) {
      Fill(row, entry);
      row.fromMedian = median;
    }
  }

  std::stable_sort(order.begin(), order.end(), [&rows](const std::string& a, const std::string& b) {
    const Row& x = rows[a];
    const Row& y = rows[b];
    return std::pair(x.family, x.instance) < std::pair(y.family, y.instance);
  });

  const std::string kBaselineMark = "baseline: ";
  std::vector<std::vector<std::string>> cells = {
      {"benchmark", "median time", "cv", "items/s", "bytes/s", "counters (memory)", "baseline", "ratio"}};
  int failed = 0;
  for (const std::string& name : order) {
    const Row& row = rows[name];
    if (!row.error.empty()) {
      cells.push_back({name, "error: " + row.error});
      ++failed;
      continue;
    }
    std::string baseline, ratio;
    if (row.label.rfind(kBaselineMark, 0) == 0) {
      baseline = row.label.substr(kBaselineMark.size());
      const auto found = rows.find(baseline);
      if (found != rows.end() && found->second.error.empty() && found->second.nanoseconds > 0)
        ratio = Format("%.2f %s", row.nanoseconds / found->second.nanoseconds, "x");
    }
    const std::string time = Time(row.nanoseconds) + (row.fromMedian ? "" : " (one run)");
    cells.push_back({name, time, row.spread, row.itemsPerSecond, row.bytesPerSecond, row.counters, baseline, ratio});
  }
  const Json::Value& context = report["context"];
  std::cout << "Median wall time per iteration over the repetitions (cv: their coefficient of variation);\n"
            << "ratio = time / baseline's time.\n"
            << context["num_cpus"].asInt() << " CPUs at " << context["mhz_per_cpu"].asInt() << " MHz, run "
            << context["date"].asString() << "\n";
  Print(cells);
  return failed == 0 ? 0 : 1;
}
