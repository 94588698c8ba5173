#include "tablestore/errors.hpp"

namespace tablestore {

const char* errorText(int code) {
  switch (code) {
    case kErrClose: return "Closing File";
    case kErrCreate: return "Creating File";
    case kErrLength: return "Determining File Length";
    case kErrSetLength: return "Setting File Length";
    case kErrOpen: return "Opening File";
    case kErrOpenPermission: return "Permission Error Opening File";
    case kErrOpenAccess: return "Access Error Opening File";
    case kErrOpenHandles: return "File Handle Count Overflow Error Opening File";
    case kErrOpenFind: return "File Find Error Opening File";
    case kErrOpenDuplicate: return "Duplicate Instance Found Error Opening File";
    case kErrRead: return "Reading File";
    case kErrRemove: return "Removing File";
    case kErrRename: return "Renaming File";
    case kErrWrite: return "Writing to File";
    case kErrData: return "File is not a Data File";
    case kErrFieldName: return "Unrecognized Field Name";
    case kErrFieldType: return "Unrecognized Field Type";
    case kErrRecordLength: return "Record Length is too Large";
    case kErrAppendPastEnd: return "Record Append Attempt Past End of File";
    case kErrSeek: return "Seeking to File Position";
    case kErrOverflow: return "Overflow while Evaluating Expression";
    case kErrInfo: return "Unexpected Information";
    case kErrMemory: return "Out of Memory";
    case kErrParameter: return "Unexpected Parameter";
    case kErrNullParameter: return "Null Input Parameter unexpected";
    case kErrResult: return "Unexpected Result";
    case kErrStructure: return "Structure Verification Failure";
    default: return "Unknown Error";
  }
}

}  // namespace tablestore
