// Helpers for CORBA sequences.
#ifndef RTM_CORBA_SEQUTIL_H
#define RTM_CORBA_SEQUTIL_H

#include <omniORB4/CORBA.h>

namespace CORBA_SeqUtil {

template <class CorbaSequence, class SequenceElement>
void push_back(CorbaSequence& seq, SequenceElement elem) {
  const CORBA::ULong length = seq.length();
  seq.length(length + 1);
  seq[length] = elem;
}

}  // namespace CORBA_SeqUtil

#endif
