// A motel with shift "A" and clerk JD on 12/6/26, a few company accounts, and the
// clerk's way into the Direct Bill Menu.
#pragma once

#include "support/app_fixture.h"
#include "support/builders.h"

#include "directbill/form20.h"
#include "directbill/form21.h"
#include "directbill/form22.h"
#include "directbill/form23.h"
#include "platform/text.h"
#include "records/direct_bill.h"
#include "records/direct_bill_files.h"

#include <string>
#include <vector>

namespace vantreth::testing {

class DirectBillFixture : public AppFixture {
public:
    DirectBillFixture() {
        SetNow(12, 6, 2026, 10, 15, 0);
        app().gShift = "A";
        app().gClerk = "JD";
    }

    // Appends an account and returns its record number.
    long Add(const records::DirectBillAccount& account) {
        return records::AppendNewAccount(app().data(), account);
    }
    records::DirectBillAccount Account(long n) { return records::ReadAccount(app().data(), n); }

    void Open(platform::Form& form) {
        app().Dispatch([&] { app().Load(form); });
    }
    void OpenMenu() { Open(Form<Form21>()); }

    // The printed lines of every document since the last call, one vector per document.
    std::vector<std::vector<std::string>> Printed() {
        std::vector<std::vector<std::string>> documents;
        for (const platform::PrintJob& job : printer().TakeJobs()) {
            documents.emplace_back();
            for (const platform::PrintedPage& page : job.pages)
                for (const platform::PrintedLine& line : page.lines)
                    documents.back().push_back(line.text);
        }
        return documents;
    }

    std::string Focus(platform::Form& form) {
        platform::Control* active = form.ActiveControl();
        return active ? active->Name() : std::string("(none)");
    }
};

} // namespace vantreth::testing
