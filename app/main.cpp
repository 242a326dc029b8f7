// The quessel executable: runs the application, which opens the files it is given.
#include "app/QuesselApp.hpp"

int main(int argc, char* argv[]) {
    return quessel::app::QuesselApp::create()->run(argc, argv);
}
