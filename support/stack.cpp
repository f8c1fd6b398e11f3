#include "support/stack.h"

String c_StringStack::p_Join(String separator) {
    return String::Join(m_data.Data(), m_length, separator);
}
