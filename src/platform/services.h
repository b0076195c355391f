#pragma once

class FileDialogs;
class Launcher;
class Messages;

// The desktop services a window uses; the owner keeps them alive longer than the window.
struct Services
{
    FileDialogs *fileDialogs = nullptr;
    Messages *messages = nullptr;
    Launcher *launcher = nullptr;
};
