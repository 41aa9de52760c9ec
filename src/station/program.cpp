#include "station/program.h"

#include "station/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace ws {

const Program& stationProgram() {
    static const FormBinding forms[] = {
        {&Form1, Form1Handlers},
        {&Form2, Form2Handlers},
        {&Form3, {}},
    };
    static const Program program{&Form1, forms};
    return program;
}

}  // namespace ws
