// plandrix-publish: turns a folder of product files into a release on the update site.
#include <cstdio>
#include <optional>
#include <string>

#include "commandline.h"
#include "progressbar.h"
#include "publisher.h"

namespace {

constexpr char kTool[] = "plandrix-publish";

const char kHelp[] =
    "usage: plandrix-publish --from DIR --site SITEDIR --line CODE --release NUMBER\n"
    "                        [--layout FILE] [--compress mszip|none] [--sign-key PEM]\n"
    "\n"
    "Publishes every file below DIR as release NUMBER of product line CODE into the\n"
    "update site folder SITEDIR (served by plandrix-site): one single-file cabinet\n"
    "per file in SITEDIR/CODE/NUMBER/items/ and the release's file lists\n"
    "(filelist.lst, and help.lst / demo.lst for the optional groups). A release that\n"
    "exists already is replaced as a whole; on any error nothing is changed.\n"
    "\n"
    "  --from DIR         the product folder\n"
    "  --site SITEDIR     the site folder (created when missing; not inside DIR)\n"
    "  --line CODE        product line, e.g. FNC (its items are named CSFNC_...)\n"
    "  --release NUMBER   release number, e.g. 30052\n"
    "  --layout FILE      where files go on the workstation; lines of\n"
    "                       PATTERN [folder=TEXT] [register=0-3] [variant=NT|9X]\n"
    "                               [group=help|demo] [skip]\n"
    "                     e.g.  system/*        folder=SystemFolder\n"
    "                           fonts/*         folder=WindowsFolder\\Fonts\n"
    "                           bin/*.dll       register=1\n"
    "                           variants/nt/**  folder=bin variant=NT\n"
    "                           help/**         group=help\n"
    "                     '*' and '?' match within a folder name, '**' any folders;\n"
    "                     the first matching rule wins; without a rule a file keeps\n"
    "                     its own sub-folder and top-level files go to Root.\n"
    "  --compress KIND    mszip (default) or none (stored cabinets)\n"
    "  --sign-key PEM     an RSA private key: signs each list reply the site can make\n"
    "                     (filelist[-help][-demo].sig beside the lists) for programs\n"
    "                     built with its public key; the key itself is not published\n"
    "  --help             this text\n";

struct Arguments {
  publish::PublishOptions options;
  site::CommandLine line;  // --help, or the first problem
};

Arguments ParseArguments(int argc, char** argv) {
  Arguments a;
  bool haveFrom = false, haveSite = false;
  a.line = site::ReadCommandLine(argc, argv, [&](const std::string& name, const std::string& value) -> std::string {
    if (name == "--from") { a.options.from = value; haveFrom = true; }
    else if (name == "--site") { a.options.site = value; haveSite = true; }
    else if (name == "--line") a.options.productLine = value;
    else if (name == "--release") a.options.release = value;
    else if (name == "--layout") a.options.layoutFile = value;
    else if (name == "--sign-key") a.options.signKeyFile = value;
    else if (name == "--compress" && value == "mszip") a.options.compression = publish::Compression::Mszip;
    else if (name == "--compress" && value == "none") a.options.compression = publish::Compression::None;
    else if (name == "--compress") return "--compress must be mszip or none";
    else return "unknown option '" + name + "'";
    return {};
  });
  if (a.line.error.empty() && !a.line.help &&
      (!haveFrom || !haveSite || a.options.productLine.empty() || a.options.release.empty()))
    a.line.error = "--from, --site, --line and --release are required";
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args = ParseArguments(argc, argv);
  if (std::optional<int> exit = site::AnswerHelpOrUsage(kTool, kHelp, args.line)) return *exit;
  publish::ProgressBar bar(stderr);
  auto summary = publish::Publish(args.options, [&bar](size_t done, size_t total, uint64_t bytes) {
    bar.Show(done, total, bytes);
  });
  bar.Finish();
  if (!summary.ok()) return site::ReportProblem(kTool, summary.error + "; nothing was published", site::kExitFailed);
  double ratio = summary.bytes ? 100.0 * static_cast<double>(summary.cabinetBytes) / static_cast<double>(summary.bytes) : 0;
  std::printf("published %s: %zu items, %llu bytes, %llu in cabinets (%.1f%%), %.2f s\n",
              summary.releaseFolder.string().c_str(), summary.items, static_cast<unsigned long long>(summary.bytes),
              static_cast<unsigned long long>(summary.cabinetBytes), ratio, summary.seconds);
  return 0;
}
