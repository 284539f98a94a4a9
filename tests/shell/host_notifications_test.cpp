// What the plug-in tells and asks the host: automation and edit gestures, the pending wheel
// edit, editor resizing, the transport and the processing level, MIDI out.
#include <gtest/gtest.h>

#include <cmath>

#include "probe_plugin.h"

namespace corvalen::testing {
namespace {

using HostNotificationsTest = ProbeHostTest;

TEST_F(HostNotificationsTest, EditorChangeSetsInformsAndRunsTheHook) {
    plugin().ApplyEditorChange(1, 0.25);
    EXPECT_FLOAT_EQ(host.GetParameter(1), 0.25f);
    const auto automate = host.CallsOf(vst2::audioMasterAutomate);
    ASSERT_EQ(automate.size(), 1u);
    EXPECT_EQ(automate[0].index, 1);
    EXPECT_FLOAT_EQ(automate[0].opt, 0.25f);
    EXPECT_EQ(plugin().paramChanges, std::vector<int>{1});
}

TEST_F(HostNotificationsTest, BeginningAnEditClosesThePendingWheelEdit) {
    auto editor = std::make_unique<FakeEditor>();
    FakeEditor* fake = editor.get();
    plugin().AttachEditor(std::move(editor));
    plugin().SetPendingWheelEdit(5);
    host.ClearCalls();
    plugin().BeginEdit(7, true);
    const auto calls = host.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].opcode, vst2::audioMasterEndEdit);
    EXPECT_EQ(calls[0].index, 5);
    EXPECT_EQ(calls[1].opcode, vst2::audioMasterBeginEdit);
    EXPECT_EQ(calls[1].index, 7);
    EXPECT_EQ(plugin().PendingWheelEdit(), -1);
    EXPECT_GE(fake->stopCountdownCalls, 1);

    host.ClearCalls();
    plugin().EndEdit(7);
    plugin().ClosePendingWheelEdit(false);  // nothing pending: no second end
    EXPECT_EQ(host.CountCalls(vst2::audioMasterEndEdit), 1);
}

TEST(HostNotificationsOnClose, AnEditorEndingItsWheelGestureAsItGoesStillReachesTheHost) {
    // A host may close the effect with the editor window still open; closing the window ends
    // the pending wheel gesture, which needs the VST2 layer that talks to the host.
    host::VstHost host;
    ASSERT_TRUE(host.Open(&ProbeEntry));
    ProbePlugin* plugin = ProbePlugin::last;
    auto editor = std::make_unique<FakeEditor>();
    editor->onDestroy = [plugin] { plugin->ClosePendingWheelEdit(true); };
    plugin->AttachEditor(std::move(editor));
    plugin->SetPendingWheelEdit(9);
    host.ClearCalls();
    host.Close();
    const auto ends = host.CallsOf(vst2::audioMasterEndEdit);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].index, 9);
}

TEST_F(HostNotificationsTest, ResizeIsSentOnlyWithAnEditorAndOnlyWhenTheSizeChanges) {
    plugin().ResizeEditor(640, 480);
    EXPECT_EQ(host.CountCalls(vst2::audioMasterSizeWindow), 0);
    plugin().AttachEditor(std::make_unique<FakeEditor>());
    plugin().ResizeEditor(800, 527);  // the attached size
    EXPECT_EQ(host.CountCalls(vst2::audioMasterSizeWindow), 0);
    plugin().ResizeEditor(1600, 1054);
    const auto sizes = host.CallsOf(vst2::audioMasterSizeWindow);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].index, 1600);
    EXPECT_EQ(sizes[0].value, 1054);
    EXPECT_EQ(plugin().EditorRect().right, 1600);
    EXPECT_EQ(plugin().EditorRect().bottom, 1054);
}

TEST_F(HostNotificationsTest, TransportReadsAreFlooredAndChecked) {
    host.TimeInfo().samplePos = -512.0;
    host.TimeInfo().tempo = 133.5;
    EXPECT_DOUBLE_EQ(plugin().GetSamplePosition(), 0.0);
    EXPECT_DOUBLE_EQ(plugin().GetTempo(), 133.5);
    host.TimeInfo().samplePos = 4096.0;
    host.TimeInfo().tempo = -1.0;
    EXPECT_DOUBLE_EQ(plugin().GetSamplePosition(), 4096.0);
    EXPECT_DOUBLE_EQ(plugin().GetTempo(), 0.0);
    host.TimeInfo().tempo = std::nan("");  // a host's garbage must not reach a tempo reader
    EXPECT_DOUBLE_EQ(plugin().GetTempo(), 0.0);
    int numerator = 0, denominator = 0;
    host.TimeInfo().timeSigNumerator = 7;
    host.TimeInfo().timeSigDenominator = 8;
    plugin().GetTimeSignature(numerator, denominator);
    EXPECT_EQ(numerator, 7);
    EXPECT_EQ(denominator, 8);
    host.TimeInfo().timeSigDenominator = -4;
    plugin().GetTimeSignature(numerator, denominator);
    EXPECT_EQ(numerator, 0);
    EXPECT_EQ(denominator, 0);
    const auto reads = host.CallsOf(vst2::audioMasterGetTime);
    ASSERT_EQ(reads.size(), 7u);
    EXPECT_EQ(reads[0].value, 0);
    EXPECT_EQ(reads[1].value, 0x400);
    EXPECT_EQ(reads[5].value, 0x2000);
}

TEST_F(HostNotificationsTest, OfflineBitFollowsTheProcessLevel) {
    host.SetProcessLevel(4);
    plugin().UpdateOfflineFlag();
    EXPECT_EQ(plugin().HostStateFlags() & 0x80, 0x80);
    host.SetProcessLevel(2);
    plugin().UpdateOfflineFlag();
    EXPECT_EQ(plugin().HostStateFlags() & 0x80, 0);
}

TEST_F(HostNotificationsTest, MidiGoesOutAsOneEventLists) {
    MidiMessage message;
    message.data[0] = 0x80;
    // The test host answers 0 to events: a send the host did not take reports false.
    EXPECT_FALSE(plugin().SendMidiMessage(message));
    EXPECT_FALSE(plugin().SendMidiMessages(&message, 1));
    EXPECT_EQ(host.CountCalls(vst2::audioMasterProcessEvents), 2);
    EXPECT_TRUE(plugin().SendMidiMessages(nullptr, 0));
}

TEST_F(HostNotificationsTest, UpdateDisplayIsForwarded) {
    plugin().RequestDisplayUpdate();
    EXPECT_EQ(host.CountCalls(vst2::audioMasterUpdateDisplay), 1);
}

}  // namespace
}  // namespace corvalen::testing
