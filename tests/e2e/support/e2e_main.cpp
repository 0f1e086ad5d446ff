// The end-to-end programs' main. A program that dies under Wine must still say how far it got
// and why: its output goes out unbuffered, so nothing is lost with the process, and a crash or a
// call to std::terminate is reported with the test that was running before the program ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

const char* RunningTest() {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  return test ? test->name() : "(none)";
}

const char* RunningSuite() {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  return test ? test->test_suite_name() : "(none)";
}

LONG CALLBACK ReportCrash(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  std::fprintf(stderr, "e2e: the test program crashed: exception 0x%08lX at %p, in test %s.%s\n",
               static_cast<unsigned long>(record.ExceptionCode), record.ExceptionAddress, RunningSuite(),
               RunningTest());
  std::fflush(stderr);
  return EXCEPTION_EXECUTE_HANDLER;  // end with the exception code as the exit status
}

void ReportTerminate() {
  std::fprintf(stderr, "e2e: std::terminate was called in test %s.%s\n", RunningSuite(), RunningTest());
  std::fflush(stderr);
  std::_Exit(3);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::setvbuf(stderr, nullptr, _IONBF, 0);
  // The filter reports and the program ends, before any crash dialog could wait for a user. No
  // error mode is set: the programs under test would inherit it.
  SetUnhandledExceptionFilter(ReportCrash);
  std::set_terminate(ReportTerminate);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
