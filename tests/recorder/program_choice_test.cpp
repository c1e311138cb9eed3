#include "recorder/program_choice.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t ms(uint64_t milliseconds) { return milliseconds * clockUnitsPerMillisecond; }

ProcessLife life(uint32_t id, uint32_t parent, const char* image, uint64_t started,
                 std::optional<uint64_t> ended = std::nullopt) {
    return {{id, parent, image, ms(started)}, ended ? std::optional(ms(*ended)) : std::nullopt};
}

}  // namespace

// Scripted timelines: who lived when, a change seen at 10,000 ms after a
// quiet moment at 9,000 ms, and which process the choice names.
TEST(ProgramChoice, TheProcessWhoseLifeBracketsTheChangeMadeIt) {
    const ProcessLife shell = life(10, 1, "C:\\windows\\explorer.exe", 5);
    const ProcessLife editor = life(20, 10, "C:\\Apps\\WordWriter.exe", 100);
    const ProcessLife editorClosing = life(20, 10, "C:\\Apps\\WordWriter.exe", 100, 10300);
    const ProcessLife importer = life(30, 10, "C:\\windows\\regedit.exe", 9800, 10050);
    const ProcessLife blip = life(40, 10, "C:\\Tools\\blip.exe", 9950, 10080);
    const ProcessLife blipAfter = life(41, 10, "C:\\Tools\\blip.exe", 10020, 10120);
    const ProcessLife launcher = life(50, 10, "C:\\windows\\system32\\cmd.exe", 9500);
    const ProcessLife launched = life(51, 50, "C:\\windows\\system32\\reg.exe", 9600, 10010);
    const ProcessLife launcherEnding = life(50, 10, "C:\\windows\\system32\\cmd.exe", 9500, 10030);
    const ProcessLife newcomer = life(60, 10, "C:\\Apps\\paint.exe", 9300);
    const ProcessLife otherNewcomer = life(61, 10, "C:\\Apps\\mail.exe", 9400);
    const ProcessLife service = life(70, 1, "C:\\windows\\system32\\svchost.exe", 9900, 10100);
    const ProcessLife recorder = life(80, 1, "C:\\Retrace\\recorder.exe", 9990, 10100);
    const ProcessLife longGone = life(90, 10, "C:\\Apps\\old.exe", 9100, 9500);
    const ProcessLife endedLate = life(91, 10, "C:\\Apps\\slow.exe", 50, 11500);
    const ProcessLife justBefore = life(92, 10, "C:\\Apps\\quick.exe", 9910, 9940);
    const ProcessLife nameless = life(93, 10, "", 9960, 10040);
    struct Case {
        const char* what;
        std::vector<ProcessLife> lives;
        uint32_t foreground;
        uint32_t expected;  // 0: unknown
    } cases[] = {
        {"settings written on exit: the program that ended just after", {shell, editorClosing, newcomer}, 10, 20},
        {"a short-lived importer that ended as the change was seen", {shell, editor, importer}, 0, 30},
        {"a short-lived program is contested by the program in front", {shell, editor, importer}, 20, 0},
        {"but not by the program in front that started it", {shell, launcher, launched}, 50, 51},
        {"nor by the one that started its launcher", {shell, launcher, launched}, 10, 51},
        {"one that ended an instant before the change was seen wrote it", {shell, justBefore}, 0, 92},
        {"two ended just after: unknown, not a guess", {shell, importer, blip}, 0, 0},
        {"nor when one of the two ended before its program file was known", {shell, nameless, blip}, 0, 0},
        {"a lone process of unknown program file is not named", {shell, nameless}, 0, 0},
        {"a program started after the change never made it", {shell, editor, blipAfter}, 20, 20},
        {"a launcher gives way to what it started", {shell, launcherEnding, launched}, 0, 51},
        {"the one program started since the quiet moment", {shell, editor, newcomer}, 0, 60},
        {"a save in front while another program starts: unknown", {shell, editor, newcomer}, 20, 0},
        {"two programs started since the quiet moment: unknown", {shell, editor, newcomer, otherNewcomer}, 20, 0},
        {"a launcher still running gives way to its child", {shell, launcher, launched}, 0, 51},
        {"else the program in front", {shell, editor}, 20, 20},
        {"nobody in front: unknown", {shell, editor}, 0, 0},
        {"system programs and the recorder never count", {shell, editor, service, recorder}, 20, 20},
        {"one that ended long before is no candidate", {shell, longGone}, 0, 0},
        {"one that ended after the second is no exit writer", {shell, editor, endedLate}, 20, 20},
        {"a program in front that started after the change is not it", {shell, blipAfter}, 41, 0},
    };
    for (const Case& c : cases) {
        auto chosen = chooseProcess(c.lives, {ms(9000), ms(10000), ms(10000)}, c.foreground, 80);
        EXPECT_EQ(chosen ? chosen->processId : 0u, c.expected) << c.what;
    }
    EXPECT_EQ(programOf(editor.process), (Program{"WordWrit", "C:\\Apps\\WordWriter.exe", 20}));
    EXPECT_EQ(moduleNameOf("C:\\My.Apps\\notepad"), "notepad");
    EXPECT_FALSE(Program{}.known());
}

// A change seen 1.5 s late, while the recorder was busy, is placed at the
// time its file or key says it was written, when that is believable.
TEST(ProgramChoice, ALateNoticeIsPlacedAtTheChangesOwnWriteTime) {
    EXPECT_EQ(changeMadeAt(ms(10000), ms(11500)), ms(10000));
    EXPECT_EQ(changeMadeAt(0, ms(11500)), ms(11500));                   // not known
    EXPECT_EQ(changeMadeAt(ms(12000), ms(11500)), ms(11500));           // after it was seen: a clock moved
    EXPECT_EQ(changeMadeAt(ms(1000), ms(11500)), ms(11500));            // a copy keeps its source's old time
    EXPECT_EQ(changeMadeAt(ms(1500), ms(11500)), ms(1500));             // at the edge of believable

    const ProcessLife shell = life(10, 1, "C:\\windows\\explorer.exe", 5);
    const ProcessLife writer = life(51, 10, "C:\\windows\\system32\\reg.exe", 9900, 10200);
    const ProcessLife blip = life(40, 10, "C:\\Tools\\blip.exe", 11000, 11600);
    const std::vector<ProcessLife> lives{shell, writer, blip};
    auto chosen = [&](uint64_t made) {
        auto process = chooseProcess(lives, {ms(9000), made, ms(11500)}, 0, 80);
        return process ? process->processId : 0u;
    };
    EXPECT_EQ(chosen(ms(11500)), 40u);  // what the late notice alone would say
    // Placed at its write, the writer that ended soon after is the only one
    // alive then, though it ended more than a second before the notice.
    EXPECT_EQ(chosen(changeMadeAt(ms(10000), ms(11500))), 51u);
}

// A program that lives a moment may make its change and end before the
// process list is next read, and is then never seen: on a busy machine,
// whoever else was seen is no surer a writer than nobody.
TEST(ProgramChoice, ProcessesUnseenLongAfterTheChangeNameNobody) {
    const ProcessLife shell = life(10, 1, "C:\\windows\\explorer.exe", 5);
    const ProcessLife editor = life(20, 10, "C:\\Apps\\WordWriter.exe", 100);
    const ProcessLife editorClosing = life(20, 10, "C:\\Apps\\WordWriter.exe", 100, 10300);
    const ProcessLife newcomer = life(60, 10, "C:\\Apps\\paint.exe", 9300);
    struct Case {
        const char* what;
        std::vector<ProcessLife> lives;
        uint32_t foreground;
        uint32_t expected;  // when looked at soon after; unknown when looked at late
    } cases[] = {
        {"the program that ended just after", {shell, editorClosing}, 0, 20},
        {"the one program started since the quiet moment", {shell, editor, newcomer}, 0, 60},
        {"the program in front", {shell, editor}, 20, 20},
    };
    const uint64_t most = ms(firstLookAfterChangeMostMilliseconds);
    for (const Case& c : cases) {
        for (uint64_t unseenFor : {uint64_t(0), most, most + 1, UINT64_MAX}) {
            auto chosen = chooseProcess(c.lives, {ms(9000), ms(10000), ms(10000), unseenFor}, c.foreground, 80);
            EXPECT_EQ(chosen ? chosen->processId : 0u, unseenFor <= most ? c.expected : 0u)
                << c.what << ", unseen for " << unseenFor;
        }
    }
}
