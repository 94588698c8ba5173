#pragma once
// Sending one file to the host: command 'c', the 280-byte header with the
// file's name and length, then the data in pieces of at most 16384 bytes.
#include <string>

#include "transfer/link_wait.hpp"
#include "transfer/session.hpp"

namespace transfer {

// Sends the file at path (its name is the part after the last sep). Every
// failure is shown through the wait's view with the system's texts:
// "File Doesn't Exist" / "File Backslash Not Found" (caption "Send File
// Error"), "TCPIP Open File Error!", "Error Sending Server Comand", "Server
// Terminated Connection", "fread() error", "TCPSendData error=%d". A cancel
// shows nothing. progress gets the bytes sent after each piece.
// True only when every byte was sent.
[[nodiscard]] bool sendFile(LinkWait& wait, const std::string& path, char sep,
                            SessionProgress& progress);

}  // namespace transfer
