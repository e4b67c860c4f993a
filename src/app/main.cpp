#include "app/program.h"

int main(int argc, char** argv) { return quomble::runQuombleView(argc, argv); }
