// The seam contract against the in-memory fake: a fresh pretend machine per check.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "seam/contract.h"

namespace seam {
void PrintTo(const Check& check, std::ostream* out) { *out << check.name; }
}  // namespace seam

namespace {

class FakeBench : public seam::Bench {
 public:
  FakeBench(FakeOs& os, const std::string& name) : os_(os) {
    folder = "C:\\Work\\" + name;
    key = "Software\\PlandrixProbe\\" + name;
    os.files.MakeDirectories(folder);
  }
  void HoldOpen(const std::string& path) override { os_.files.LockFile(path, sys::share::kRead); }
  void RunFrom(const std::string& path) override { os_.files.RunProgram(path); }
  void Release() override { os_.files.EndOtherPrograms(); }
  std::string ChildCommand(uint32_t milliseconds, uint32_t code) override {
    fakes::ProgramScript script;
    script.runsForMilliseconds = milliseconds;
    script.exitCode = code;
    os_.processes.Script("child.exe", script);
    return "C:\\Work\\child.exe";
  }

 private:
  FakeOs& os_;
};

class SeamContract : public testing::TestWithParam<seam::Check> {};

TEST_P(SeamContract, HoldsForTheFake) {
  FakeOs os;
  FakeBench bench(os, GetParam().name);
  GetParam().run(bench);
  for (const std::string& failure : bench.failures) ADD_FAILURE() << failure;
}

INSTANTIATE_TEST_SUITE_P(Fake, SeamContract, testing::ValuesIn(seam::Checks()),
                         [](const testing::TestParamInfo<seam::Check>& info) { return std::string(info.param.name); });

}  // namespace
