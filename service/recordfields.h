// Field declaration helpers for the wire records.
//
// Every record lists its fields once, in declaration order, as an X-macro
// X(TYPE, NAME, DEFAULT). The same list declares the private F-prefixed
// members with their accessors, copies them in Kopyala and drives the JSON
// reflection form, so the field order and names cannot drift apart.
#pragma once

#include <QString>
#include <QtGlobal>

#define KESTRO_RECORD_MEMBER(TYPE, NAME, DEFAULT) \
private:                                          \
    TYPE F##NAME = DEFAULT;                       \
                                                  \
public:                                           \
    const TYPE &NAME() const { return F##NAME; }  \
    void set##NAME(const TYPE &v) { F##NAME = v; }

#define KESTRO_RECORD_COPY(TYPE, NAME, DEFAULT) F##NAME = source.F##NAME;
#define KESTRO_RECORD_EQUAL(TYPE, NAME, DEFAULT) &&F##NAME == o.F##NAME

// Declares members, Kopyala, equality and a visitor over (name, value) pairs.
// The visitor receives the marshalled name ("F" + property) and a reference.
#define KESTRO_RECORD_VISIT_CONST(TYPE, NAME, DEFAULT) v("F" #NAME, F##NAME);
#define KESTRO_RECORD_VISIT(TYPE, NAME, DEFAULT) v("F" #NAME, F##NAME);

#define KESTRO_RECORD_BODY(CLASS, FIELDS)                                      \
    FIELDS(KESTRO_RECORD_MEMBER)                                               \
public:                                                                        \
    void Kopyala(const CLASS &source) { FIELDS(KESTRO_RECORD_COPY) }           \
    bool operator==(const CLASS &o) const { return true FIELDS(KESTRO_RECORD_EQUAL); } \
    template <typename V> void visitFields(V &&v) const { FIELDS(KESTRO_RECORD_VISIT_CONST) } \
    template <typename V> void visitFields(V &&v) { FIELDS(KESTRO_RECORD_VISIT) }
