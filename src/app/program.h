#pragma once

#include "core/datetime.h"
#include "core/paths.h"

#include <memory>
#include <string>

namespace quomble {

class TForm1;
class TForm2;
class TForm4;
class TForm5;

// The program's windows, created in the order of the start-up sequence.
class Program {
public:
    // appDir: the executable's directory with its trailing separator. The log lies there;
    // the settings files are those of the user running the program (settingsFilesOfThisUser).
    Program(std::string appDir, Clock clock);
    ~Program();

    // Creates the main window (which does the whole intake), then the About window, then
    // runs the settings readers of the log data and diagrams windows, and sets the main
    // window's caption. False when the program is to end at once (no log file).
    bool start();

    TForm1& form1() { return *form1_; }
    TForm2* form2() { return form2_; }
    TForm4* form4() { return form4_; }
    TForm5* form5() { return form5_; }

private:
    ProgramFiles files_;
    std::unique_ptr<TForm1> form1_;
    TForm2* form2_ = nullptr;  // owned by form1_
    TForm4* form4_ = nullptr;  // owned by form1_
    TForm5* form5_ = nullptr;  // owned by form1_
};

// The whole program: the single-instance guard, the start-up sequence and the message
// loop. Returns the process exit code.
int runQuombleView(int argc, char** argv);

}  // namespace quomble
