// die_sweep --widths A:B:STEP --aspects 4:3,3:2,... --sizes A:B:STEP
// Cuts a die for every picture width, aspect (width:height) and piece size of the ranges, the
// way a puzzle is prepared, and lists each cut that fails with the log's reason and whether
// one of the game's retries at a larger size would cut. Piece sizes above the picture's
// shorter side are skipped. The die depends only on the sizes, so no picture is needed.
// The work is shared among one process per core; the last line is "cuts N failures F".

#include "puzzle/CuttingDie.h"
#include "tools/CutFixtures.h"
#include "Yelk/TMsgLog.h"

#include <QString>
#include <QStringList>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct Range {
  int first = 0, last = -1, step = 1;
};

struct Job {
  int width, height, size;
};

// The game tries this many larger sizes after a failed cut.
constexpr int Retries = 3;

bool ParseRange(const char* text, Range& range) {
  const QStringList parts = QString::fromLocal8Bit(text).split(QLatin1Char(':'));
  if (parts.size() != 3) return false;
  bool ok[3];
  range = {parts[0].toInt(&ok[0]), parts[1].toInt(&ok[1]), parts[2].toInt(&ok[2])};
  return ok[0] && ok[1] && ok[2] && range.first > 0 && range.step > 0 && range.last >= range.first;
}

bool ParseAspects(const char* text, std::vector<QSize>& aspects) {
  for (const QString& aspect : QString::fromLocal8Bit(text).split(QLatin1Char(','))) {
    const QStringList sides = aspect.split(QLatin1Char(':'));
    bool okW = false, okH = false;
    if (sides.size() != 2) return false;
    const QSize ratio(sides[0].toInt(&okW), sides[1].toInt(&okH));
    if (!okW || !okH || ratio.width() < 1 || ratio.height() < 1) return false;
    aspects.push_back(ratio);
  }
  return !aspects.empty();
}

std::vector<Job> MakeJobs(const Range& widths, const std::vector<QSize>& aspects,
                          const Range& sizes) {
  std::vector<Job> jobs;
  for (int width = widths.first; width <= widths.last; width += widths.step)
    for (const QSize& aspect : aspects) {
      const int height = int(std::int64_t(width) * aspect.height() / aspect.width());
      for (int size = sizes.first; size <= sizes.last && size <= std::min(width, height);
           size += sizes.step)
        jobs.push_back({width, height, size});
    }
  return jobs;
}

// The piece count of one cut, as the preparation gets it; the log's last line tells why a
// cut gave none.
int CutOnce(FixedPicture& picture, int size, QString* reason) {
  CuttingDie die(&picture, size, nullptr);
  const int pieces = CuttingDie::CutChips(&die, nullptr, false, nullptr);
  PuzzleTable::Current()->GetChipList().DeleteAll();
  if (pieces == 0 && reason) {
    const QStringList log = TMsgLog::Lines();
    *reason = log.isEmpty() ? QString() : log.last().section(QStringLiteral(":  "), 1);
  }
  return pieces;
}

// One worker's share: every workers-th job from its own first. Writes one line per failure
// and then "done N F".
void RunShare(const std::vector<Job>& jobs, std::size_t first, std::size_t workers, FILE* out) {
  PieceTable table;
  std::size_t cuts = 0, failures = 0;
  for (std::size_t i = first; i < jobs.size(); i += workers) {
    const Job& job = jobs[i];
    FixedPicture picture(QSize(job.width, job.height));
    QString reason;
    ++cuts;
    if (CutOnce(picture, job.size, &reason) > 0) continue;
    ++failures;
    int retried = 0;
    for (int size = job.size + 1; size <= job.size + Retries && !retried; ++size)
      if (size <= std::min(job.width, job.height) && CutOnce(picture, size, nullptr) > 0)
        retried = size;
    std::fprintf(out, "%d x %d at %d: %s; %s\n", job.width, job.height, job.size,
                 qPrintable(reason),
                 retried ? qPrintable(QStringLiteral("retry cuts at %1").arg(retried))
                         : "every retry fails");
  }
  std::fprintf(out, "done %zu %zu\n", cuts, failures);
  std::fflush(out);
}

int Usage() {
  std::fprintf(stderr,
               "usage: die_sweep --widths A:B:STEP --aspects W:H[,W:H...] --sizes A:B:STEP\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Range widths, sizes;
  std::vector<QSize> aspects;
  bool haveWidths = false, haveAspects = false, haveSizes = false;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--widths"))
      haveWidths = ParseRange(argv[i + 1], widths);
    else if (!std::strcmp(argv[i], "--aspects"))
      haveAspects = ParseAspects(argv[i + 1], aspects);
    else if (!std::strcmp(argv[i], "--sizes"))
      haveSizes = ParseRange(argv[i + 1], sizes);
    else
      return Usage();
  }
  if (argc != 7 || !haveWidths || !haveAspects || !haveSizes) return Usage();
  const std::vector<Job> jobs = MakeJobs(widths, aspects, sizes);
  const std::size_t workers = std::max(1L, sysconf(_SC_NPROCESSORS_ONLN));
  std::vector<FILE*> outputs;
  std::vector<pid_t> children;
  for (std::size_t k = 0; k < workers; ++k) {
    FILE* out = std::tmpfile();
    const pid_t child = out ? fork() : -1;
    if (child < 0) {
      std::fprintf(stderr, "die_sweep: could not start a worker\n");
      return 1;
    }
    if (child == 0) {
      RunShare(jobs, k, workers, out);
      _exit(0);
    }
    outputs.push_back(out);
    children.push_back(child);
  }
  bool allDone = true;
  for (pid_t child : children) {
    int status = 0;
    allDone = waitpid(child, &status, 0) == child && WIFEXITED(status) &&
              WEXITSTATUS(status) == 0 && allDone;
  }
  std::size_t cuts = 0, failures = 0, finished = 0;
  std::vector<std::pair<Job, std::string>> failed;
  char line[512];
  for (FILE* out : outputs) {
    std::rewind(out);
    while (std::fgets(line, sizeof line, out)) {
      std::size_t n = 0, f = 0;
      Job job{};
      if (std::sscanf(line, "done %zu %zu", &n, &f) == 2)
        cuts += n, failures += f, ++finished;
      else if (std::sscanf(line, "%d x %d at %d", &job.width, &job.height, &job.size) == 3)
        failed.emplace_back(job, line);
    }
    std::fclose(out);
  }
  // In the order of the sweep, whichever worker cut them.
  std::sort(failed.begin(), failed.end(), [](const auto& a, const auto& b) {
    return std::tie(a.first.width, a.first.height, a.first.size) <
           std::tie(b.first.width, b.first.height, b.first.size);
  });
  for (const auto& each : failed) std::fputs(each.second.c_str(), stdout);
  if (!allDone || finished != workers) {
    std::fprintf(stderr, "die_sweep: a worker stopped before its share was done\n");
    return 1;
  }
  std::printf("cuts %zu failures %zu\n", cuts, failures);
  return 0;
}
