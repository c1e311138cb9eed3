#pragma once
// Pictures of windows as they show on the screen, kept as PNG files.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // top row first, 0xAARRGGBB
};

// What the screen shows of the window, once two looks in a row agree, so
// that a window still painting is not taken half drawn.
Picture pictureOfWindow(HWND window);

bool savePng(const Picture& picture, const std::string& path);
std::optional<Picture> loadPng(const std::string& path);

// How many pixels differ; every pixel when the sizes differ.
size_t differingPixels(const Picture& a, const Picture& b);
