// SPDX-License-Identifier: MIT
#include "operation_table.h"

namespace ops {

// Each defined in a file of its own beside its pixel code.
const Operation& npcOperation();
const Operation& negativeOperation();
const Operation& rearrangeOperation();
const Operation& colourReplaceOperation();
const Operation& keyOutBackgroundOperation();
const Operation& mirrorOperation();

const QList<const Operation*>& operationTable()
{
    static const QList<const Operation*> table{
        &npcOperation(),           &negativeOperation(),         &rearrangeOperation(),
        &colourReplaceOperation(), &keyOutBackgroundOperation(), &mirrorOperation()};
    return table;
}

const Operation* operationForOption(QStringView name)
{
    for (const Operation* operation : operationTable()) {
        if (operation->option.name == name)
            return operation;
    }
    return nullptr;
}

const Operation* operationForRunCode(int code)
{
    for (const Operation* operation : operationTable()) {
        if (operation->window.runCode == code)
            return operation;
    }
    return nullptr;
}

} // namespace ops
