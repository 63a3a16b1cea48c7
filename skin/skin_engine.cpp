// The skin engine library; its layers live in data/, manager/, form/ and controls/.
