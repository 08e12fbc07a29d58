// Script lines that lead up to a clerk's step, shared by the crash sweep and the benchmark.
#pragma once

namespace vantreth::script {

// An account for ACME TOOLS and DOE, JANE checked in to 101 on it, her folio open.
inline constexpr const char* kDirectBillStay = R"(click Form1.Command3
click Form12.Command4
click Form21.Command1
type Form20.Text1 acme tools
key Form20.Text1 Enter
type Form20.Text2 smith
type Form20.Text12 100
click Form20.Command1
click Form1.Command1
pick form2.Combo1 "101 NQ1  "
pick form2.Combo2 DIRECT BILL
pick form2.Combo5 1000 ACME TOOLS
type form2.Text9 doe
type form2.Text10 jane
type form2.Text17 R78
answer Yes
click form2.Command2
click Form15.Command2
key Form1 F
pick Form4.Combo1 "101 DOE JANE"
)";

} // namespace vantreth::script
