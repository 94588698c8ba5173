#pragma once
// Short sounds the program plays by file name (".wav"), never waiting for
// them to end.
#include <string>

namespace platform {

// Starts playing the file and returns at once. Windows: PlaySound from the
// file, asynchronous, no default sound when it is missing. POSIX: the first
// of paplay, pw-play and aplay found on the PATH plays it in a process of its
// own; without one (or without the file) nothing is heard. Never fails
// visibly: a sound is a courtesy, not a message.
void playSoundFile(const std::string& path);

}  // namespace platform
