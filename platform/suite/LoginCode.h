#pragma once

namespace velora::suite {

// Result codes of Login and AutoLogin; the program turns them into its start-up messages.
namespace LoginCode {
constexpr int Ok = 0;
constexpr int LockedOut = 1;
constexpr int UnknownUser = 2;
constexpr int Disabled = 3;
constexpr int WrongPassword = 4;
constexpr int Cancelled = 7;
constexpr int NotTranscriptionist = 10;
} // namespace LoginCode

} // namespace velora::suite
