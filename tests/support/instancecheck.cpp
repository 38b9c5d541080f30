// A copy of the program's start-up check, and nothing else: it makes the services the program
// makes, waits for "go" on its input, asks them whether another copy runs, as Form_Load does,
// and prints "runs" or "refused". It keeps what it took until its input closes.
#include "runtime/desktopservices.h"

#include <QGuiApplication>

#include <iostream>
#include <string>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    runtime::DesktopServices services;
    std::cout << "ready" << std::endl;

    std::string line;
    std::getline(std::cin, line);
    std::cout << (services.appPrevInstance() ? "refused" : "runs") << std::endl;

    while (std::getline(std::cin, line)) { }
    return 0;
}
