// lindrel: the command-line front end (first version: shows a component's settings).
#include <iostream>
#include <string>

#include "lindrel/LindrelCtrl.h"

int main(int argc, char** argv) {
  const std::string stateFile = argc > 1 ? argv[1] : "";
  lindrel::CLindrelCtrl ctrl(stateFile);
  std::cout << "StateFileName=" << ctrl.GetStateFileName() << "\n"
            << "FileMaster=" << ctrl.GetFileMaster() << "\n"
            << "FileSource=" << ctrl.GetFileSource() << "\n"
            << "DirMaster=" << ctrl.GetDirMaster() << "\n"
            << "DirSource=" << ctrl.GetDirSource() << "\n"
            << "DirFileTypes=" << ctrl.GetDirFileTypes() << "\n"
            << "ThreadPriority=" << ctrl.GetThreadPriority() << " ("
            << lindrel::ThreadPriorityDescription(ctrl.GetThreadPriority()) << ")\n";
  return 0;
}
