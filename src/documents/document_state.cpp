#include "documents/document_state.h"

DocumentState documentState;
