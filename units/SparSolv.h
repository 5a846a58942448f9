#pragma once
// Sparse linear equation solver for the linearised network equations.
//
// There is one system per process: InitStruc, any number of AddLHS/AddRHS in
// any order, Solve, GetAnswer for the unknowns, ReleaseStruc. The plain
// operations return false on failure and record the error (GetSparSolvError);
// the SparseSolv* operations raise the ESparSolvError family instead.

#include <stdexcept>
#include <string>

namespace tessaran {

constexpr int SparSolvMaxEquations = 45000;

bool InitStruc(int Neq);
// Adds Value to the coefficient at (Row, Col). A value of exactly 0 is ignored.
bool AddLHS(int Row, int Col, double Value);
// Adds Value to the right-hand side of Row; every row needs one, zeros included.
bool AddRHS(int Row, double Value);
bool Solve();
bool GetAnswer(int VarNo, double &Value);
void ReleaseStruc();
void GetSparSolvError(std::string &Reason, int &ErrNo, int &Num1, int &Num2);

class ESparSolvError : public std::runtime_error {
public:
    ESparSolvError(const std::string &reason, int errNo, int num1, int num2);

    std::string FReason;
    int FErrNo1; // error code
    int FErrNo3; // second number
    int FErrNo2; // first number
};

class ESparseSolvInitError : public ESparSolvError {
public:
    using ESparSolvError::ESparSolvError;
};
class ESparseSolvAddLHSError : public ESparSolvError {
public:
    using ESparSolvError::ESparSolvError;
};
class ESparseSolvAddRHSError : public ESparSolvError {
public:
    using ESparSolvError::ESparSolvError;
};
class ESparseSolvSolveError : public ESparSolvError {
public:
    using ESparSolvError::ESparSolvError;
};
class ESparseSolvAnswerError : public ESparSolvError {
public:
    using ESparSolvError::ESparSolvError;
};

void SparseSolvInit(int Neq);
void SparseSolvAddLHS(int Row, int Col, double Value);
void SparseSolvAddRHS(int Row, double Value);
void SparseSolvSolve();
void SparseSolvGetAnswer(int VarNo, double &Value);
double SparseSolvAnswer(int VarNo);

namespace sparsolv_testing {
// Lets the next `successful` guarded allocations succeed and makes the one
// after fail once, so that the "Out of Space" paths can be exercised.
// A negative value switches the failure off.
void FailAllocationAfter(int successful);
} // namespace sparsolv_testing

} // namespace tessaran
