#pragma once
// The texts a session ends with: the verification of its counts, the
// summary of a verified session and the two pending notices.
#include <optional>
#include <string>

#include "transfer/session.hpp"

namespace transfer {

struct VerifyFailure {
  std::string reason;
  std::string detail;
};

// The first count check the result fails, in this order: the stage (1 or
// less: not connected; 2 or 3: data not sent), the files received against
// N + 2, the dataset files sent against the PC's count and against the
// count the host acknowledged. Nothing when every check passes.
std::optional<VerifyFailure> verifySession(const SessionResult& result);

// "Transfer Failed !!\n <reason>\n <detail>\n Transfer ERRORS!!".
std::string verifyFailureText(const VerifyFailure& failure);

// The five-line summary of a verified session. appsPendingUpdate is the
// number of packages the PC listed from its pending-applications folder;
// with none, and no application or dataset received, the second line says
// "All Applications Up to Date".
std::string summaryText(const SessionResult& result, int appsPendingUpdate);

inline constexpr const char* kPendingDataText = "You Have Data Files Pending\nUse the Pending Menu to View Them";
inline constexpr const char* kPendingMessagesText = "You Have Messages Pending\nUse the Messages Menu to View Them";

}  // namespace transfer
