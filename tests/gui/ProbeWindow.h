// A bare window with controls that write down every call they receive, to
// follow the window's mouse routing step by step.
#pragma once

#include <string>
#include <vector>

#include "gui/GuiWindow.h"

class ProbeControl : public GuiControl {
public:
    ProbeControl(const char* name, int left, int top, int width, int height, std::vector<std::string>& log)
        : GuiControl(left, top, width, height), name(name), log(log) {}

    void onMouseDown(int x, int y) override { write("down", x, y); }
    void onClick(int x, int y) override { write("click", x, y); }
    void onMouseEnter(int x, int y) override { write("enter", x, y); }
    void onMouseLeave(int x, int y) override { write("leave", x, y); }
    void onMouseUp(int x, int y) override { write("up", x, y); }
    void onMouseDrag(int x, int y) override { write("drag", x, y); }
    void onMouseWheel(int step) override { log.push_back(std::string("wheel ") + name + " " + std::to_string(step)); }
    void draw(gui::Surface&) override { log.push_back(std::string("draw ") + name); }
    void setValue(float v, bool) override { value = v; }
    float getValue() const override { return value; }

private:
    void write(const char* what, int x, int y) {
        log.push_back(std::string(what) + " " + name + " " + std::to_string(x) + "," + std::to_string(y));
    }

    const char* name;
    std::vector<std::string>& log;
};

class ProbeWindow : public GuiWindow {
public:
    ProbeWindow(gui::Platform& platform, int width, int height) : GuiWindow(nullptr, width, height, platform) {}

    ProbeControl& add(const char* name, int left, int top, int width, int height) {
        return static_cast<ProbeControl&>(
            *addControl(std::make_unique<ProbeControl>(name, left, top, width, height, log)));
    }

    std::vector<std::string> takeLog() { return std::exchange(log, {}); }

    std::vector<std::string> log;
};
