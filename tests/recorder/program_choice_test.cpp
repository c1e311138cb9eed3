#include "recorder/program_choice.h"

#include <gtest/gtest.h>

TEST(ProgramChoice, TheOneProgramStartedSinceTheQuietMomentMadeTheChange) {
    const ProcessFacts shell{10, 1, "C:\\windows\\explorer.exe", 5};
    const ProcessFacts editor{20, 10, "C:\\Apps\\WordWriter.exe", 150};
    const ProcessFacts launcher{30, 10, "C:\\Apps\\launch.exe", 120};
    const ProcessFacts launched{31, 30, "C:\\Apps\\paint.exe", 130};
    const ProcessFacts service{40, 1, "C:\\windows\\system32\\svchost.exe", 140};
    const ProcessFacts recorder{50, 1, "C:\\Retrace\\recorder.exe", 160};
    struct Case {
        const char* what;
        std::vector<ProcessFacts> processes;
        uint32_t expected;  // 0: no single program
    } cases[] = {
        {"one new program", {shell, editor, service}, 20},
        {"none new", {shell}, 0},
        {"two new programs", {shell, editor, launched}, 0},
        {"a launcher gives way to what it started", {shell, launcher, launched}, 31},
        {"system programs and the recorder never count", {shell, service, recorder, editor}, 20},
    };
    for (const Case& c : cases) {
        auto chosen = soleNewProcess(c.processes, 100, 50);
        EXPECT_EQ(chosen ? chosen->processId : 0u, c.expected) << c.what;
    }
    EXPECT_EQ(programOf(editor), (Program{"WordWrit", "C:\\Apps\\WordWriter.exe", 20}));
    EXPECT_EQ(moduleNameOf("C:\\My.Apps\\notepad"), "notepad");
    EXPECT_FALSE(Program{}.known());
}
