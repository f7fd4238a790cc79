#include "dbaccess/QXName.h"

#include "dbaccess/FieldLoading.h"
#include "runtime/CaseConversion.h"

namespace DBACCESS {

using PrintableText = CORVANE::BaseStrVar<CORVANE::PrintableStrModifier>;
using DtmfText = CORVANE::BaseStrVar<CORVANE::DTMFStrModifier>;

QXName::QXName() = default;

QXName::~QXName() = default;

void QXName::Clear() {
    firstDisplay = PrintableText("first_display", 24);
    lastDisplay = PrintableText("last_display", 24);
    firstDtmf = DtmfText("first_dtmf", 0);
    lastDtmf = DtmfText("last_dtmf", 0);
    lcFirst = PrintableText("lc_first", 24);
    lcLast = PrintableText("lc_last", 24);
    title = PrintableText("title", 29);
    lcFirst.caseConversion = CORVANE::kCaseConversionLower;
    lcLast.caseConversion = CORVANE::kCaseConversionLower;
}

bool QXName::SetField(const std::string& name, const std::string& text) {
    LoadNamedField(name, text, firstDisplay, lastDisplay, title, firstDtmf, lastDtmf, lcFirst,
                   lcLast);
    return false;
}

}  // namespace DBACCESS
