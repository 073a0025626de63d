// The program and its console helper: a request arrives whole or not at
// all, and an answer cut short by the helper ending is read for exactly
// what it said before the cut, never as a shorter answer.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/link/console_helper_protocol.h"

namespace vt::win32 {
namespace {

using Outcome = ConsoleProbe::Outcome;

WriteRequest awkwardWrite()
{
    WriteRequest request;
    request.processes = {4, 0xFFFFFFFFu, 1234};
    request.console = 0x00007FF612345678ull;
    request.waitUntilRead = true;
    request.title = "SPIGOT-SERVER – Grüße";
    for (int byte = 0; byte < 256; ++byte)
        request.records.push_back(static_cast<char>(byte)); // every byte value, NUL included
    return request;
}

std::vector<ConsoleProbe> someProbes()
{
    return {{8, Outcome::Attached, "SPIGOT-SERVER - java -jar server.jar", 0x10020, "cmd.exe"},
            {12, Outcome::Denied, "", 0, "java.exe"},
            {16, Outcome::NoConsole, "", 0, ""},
            {20, Outcome::Attached, "", 0, "Grüße.exe"}};
}

void expectSameProbes(const std::vector<ConsoleProbe>& actual, const std::vector<ConsoleProbe>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].process, expected[i].process);
        EXPECT_EQ(actual[i].outcome, expected[i].outcome);
        EXPECT_EQ(actual[i].title, expected[i].title);
        EXPECT_EQ(actual[i].console, expected[i].console);
        EXPECT_EQ(actual[i].image, expected[i].image);
    }
}

TEST(ConsoleHelperProtocolTest, RequestsArriveExactly)
{
    const WriteRequest sent = awkwardWrite();
    const HelperRequest received = decodeRequest(encodeRequest(sent));
    ASSERT_TRUE(std::holds_alternative<WriteRequest>(received));
    const auto& write = std::get<WriteRequest>(received);
    EXPECT_EQ(write.processes, sent.processes);
    EXPECT_EQ(write.console, sent.console);
    EXPECT_TRUE(write.waitUntilRead);
    EXPECT_EQ(write.title, sent.title);
    EXPECT_EQ(write.records, sent.records);

    EXPECT_TRUE(std::holds_alternative<ProbeRequest>(decodeRequest(encodeRequest(ProbeRequest{}))));

    const WatchRequest watch{{4, 0xFFFFFFFFu}, 0x00007FF612345678ull, 6000};
    const HelperRequest watched = decodeRequest(encodeRequest(watch));
    ASSERT_TRUE(std::holds_alternative<WatchRequest>(watched));
    EXPECT_EQ(std::get<WatchRequest>(watched).processes, watch.processes);
    EXPECT_EQ(std::get<WatchRequest>(watched).console, watch.console);
    EXPECT_EQ(std::get<WatchRequest>(watched).readRowsMs, 6000u);
    const std::string whole = encodeRequest(watch);
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_THROW(decodeRequest(whole.substr(0, length)), std::invalid_argument) << "cut at " << length;
}

// A watch's answers come while the helper runs: each read takes the whole
// frames so far, in order, and leaves a frame still arriving for the next.
TEST(ConsoleHelperProtocolTest, AWatchsFramesAreTakenAsTheyArrive)
{
    const std::vector<ConsoleProgram> programs{{40, "cmd.exe", 0}, {44, "java.exe", 0x01DB2F0011223344ull}};
    const std::string said = watchingFrame(programs) + rowsFrame({"say Grüße   ", ""}) +
                             rowsFrame({"[12:00:00 INFO]: [Server] Grüße"}) +
                             outcomeFrame({WriteOutcome::Status::NotReached, "gone"});
    std::string pending;
    std::vector<ConsoleProgram> watching;
    std::vector<std::string> rows;
    std::optional<WriteOutcome> outcome;
    for (const char byte : said) {
        pending += byte;
        WatchReply reply = takeWatchFrames(pending);
        if (reply.watching) {
            EXPECT_TRUE(watching.empty());
            watching = *reply.watching;
        }
        rows.insert(rows.end(), reply.rows.begin(), reply.rows.end());
        if (reply.outcome)
            outcome = reply.outcome;
    }
    EXPECT_TRUE(pending.empty());
    ASSERT_EQ(watching.size(), 2u);
    EXPECT_EQ(watching[1].process, 44u);
    EXPECT_EQ(watching[1].image, "java.exe");
    EXPECT_EQ(watching[1].started, 0x01DB2F0011223344ull);
    EXPECT_EQ(rows, (std::vector<std::string>{"say Grüße   ", "", "[12:00:00 INFO]: [Server] Grüße"}));
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->status, WriteOutcome::Status::NotReached);

    std::string writeFrame = stageFrame(WriteStage::Written);
    EXPECT_THROW(takeWatchFrames(writeFrame), std::invalid_argument);
    std::string watchAnswer = rowsFrame({"x"});
    EXPECT_THROW(decodeReply(watchAnswer), std::invalid_argument);
}

TEST(ConsoleHelperProtocolTest, OnlyAWholeRequestIsTaken)
{
    const std::string whole = encodeRequest(awkwardWrite());
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_THROW(decodeRequest(whole.substr(0, length)), std::invalid_argument) << "cut at " << length;
    EXPECT_THROW(decodeRequest(whole + "x"), std::invalid_argument);
    EXPECT_THROW(decodeRequest(std::string(1, '\x07')), std::invalid_argument);

    std::string badFlag = encodeRequest(WriteRequest{});
    badFlag[1 + 4 + 8] = '\x02'; // the wait flag, after kind, count and console
    EXPECT_THROW(decodeRequest(badFlag), std::invalid_argument);
}

TEST(ConsoleHelperProtocolTest, ACutAnswerKeepsOnlyTheFramesSaidWhole)
{
    const std::string probes = probesFrame(someProbes());
    const std::string writing = stageFrame(WriteStage::Writing);
    const std::string written = stageFrame(WriteStage::Written);
    const std::string outcome = outcomeFrame({WriteOutcome::Status::Failed, "could not type; nothing was typed"});
    const std::string whole = probes + writing + written + outcome;

    for (std::size_t length = 0; length <= whole.size(); ++length) {
        const HelperReply reply = decodeReply(whole.substr(0, length));
        EXPECT_EQ(reply.probes.has_value(), length >= probes.size()) << "cut at " << length;
        if (reply.probes)
            expectSameProbes(*reply.probes, someProbes());
        EXPECT_EQ(reply.writing, length >= probes.size() + writing.size()) << "cut at " << length;
        EXPECT_EQ(reply.written, length >= probes.size() + writing.size() + written.size()) << "cut at " << length;
        EXPECT_EQ(reply.outcome.has_value(), length == whole.size()) << "cut at " << length;
    }
    const HelperReply reply = decodeReply(whole);
    EXPECT_EQ(reply.outcome->status, WriteOutcome::Status::Failed);
    EXPECT_EQ(reply.outcome->message, "could not type; nothing was typed");
}

TEST(ConsoleHelperProtocolTest, AWholeFrameThatMakesNoSenseIsRefused)
{
    std::string badStatus = outcomeFrame({WriteOutcome::Status::Typed, ""});
    badStatus[5] = '\x09';
    EXPECT_THROW(decodeReply(badStatus), std::invalid_argument);

    std::string badProbe = probesFrame({{8, Outcome::Attached, "", 0, ""}});
    badProbe[5 + 4 + 4] = '\x03'; // the outcome, after the header, count and process
    EXPECT_THROW(decodeReply(badProbe), std::invalid_argument);

    std::string unknownKind = stageFrame(WriteStage::Written);
    unknownKind[0] = '\x09';
    EXPECT_THROW(decodeReply(unknownKind), std::invalid_argument);

    // A frame longer than what it carries: extra bytes inside it are an error.
    std::string padded = stageFrame(WriteStage::Written);
    padded[1] = '\x02';
    padded += 'x';
    EXPECT_THROW(decodeReply(padded), std::invalid_argument);
}

} // namespace
} // namespace vt::win32
