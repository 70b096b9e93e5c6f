#include "DemoNames.h"

namespace velora::admin::DemoNames {

namespace {

constexpr const char* kFirstNames[] = {
    "Mary",      "Patricia", "Linda",     "Barbara", "Elizabeth", "Jennifer",  "Maria",
    "Susan",     "Margaret", "Dorothy",   "Lisa",    "Nancy",     "Karen",     "Betty",
    "Helen",     "Sandra",   "Donna",     "Carol",   "Ruth",      "Sharon",    "Michelle",
    "Laura",     "Sarah",    "Kimberly",  "Deborah", "Jessica",   "Shirley",   "Cynthia",
    "Angela",    "Melissa",  "Brenda",    "Amy",     "Anna",      "Rebecca",   "Virginia",
    "Kathleen",  "Pamela",   "Martha",    "Debra",   "Amanda",    "Stephanie", "Carolyn",
    "Christine", "Janet",    "Catherine", "Frances", "Ann",       "Joyce",     "Diane",
    "Alice",     "Julie",    "Heather",   "Teresa",  "Doris",     "Gloria",    "Evelyn",
    "James",     "John",     "Robert",    "Michael", "William",   "David",     "Richard",
    "Thomas",    "Daniel",   "Paul",      "Mark",    "Steven",    "Andrew",    "Kevin",
    "Brian",     "Gary"};

constexpr const char* kLastNames[] = {
    "Johnson",   "Williams",   "Brown",     "Jones",    "Garcia",   "Miller",  "Davis",
    "Rodriguez", "Martinez",   "Hernandez", "Lopez",    "Gonzalez", "Wilson",  "Anderson",
    "Thomas",    "Taylor",     "Moore",     "Jackson",  "Martin",   "Lee",     "Perez",
    "Thompson",  "White",      "Harris",    "Sanchez",  "Clark",    "Ramirez", "Lewis",
    "Robinson",  "Walker",     "Young",     "Allen",    "King",     "Wright",  "Scott",
    "Torres",    "Nguyen",     "Hill",      "Flores",   "Green",    "Adams",   "Nelson",
    "Baker",     "Hall",       "Rivera",    "Campbell", "Mitchell", "Carter",  "Roberts",
    "Gomez",     "Phillips",   "Evans",     "Turner",   "Diaz",     "Parker",  "Cruz",
    "Edwards",   "Collins",    "Reyes",     "Stewart",  "Morris",   "Morales", "Murphy",
    "Cook",      "Rogers",     "Gutierrez", "Ortiz",    "Morgan",   "Cooper",  "Peterson",
    "Bailey",    "Reed",       "Kelly",     "Howard",   "Ramos",    "Kim",     "Cox",
    "Ward",      "Richardson", "Watson",    "Brooks",   "Chavez",   "Wood",    "James",
    "Bennett",   "Gray",       "Mendoza",   "Ruiz",     "Hughes",   "Price",   "Alvarez",
    "Castillo",  "Sanders",    "Patel",     "Myers",    "Long",     "Ross",    "Foster"};

constexpr const char* kFacilityPlaces[] = {
    "Riverside",      "St. Mary's",   "Lakeview",  "Mercy",        "Cedar Valley", "Northside",
    "Good Samaritan", "Pine Ridge",   "Harbor",    "Summit",       "Valley View",  "Memorial",
    "Oak Park",       "St. Luke's",   "Bayfront",  "Highland",     "Westbrook",    "Fairview",
    "Maple Grove",    "Sacred Heart", "Brookside", "Eastside",     "Silver Lake",  "Grand River",
    "Hillcrest",      "Parkland",     "Sunrise",   "Willow Creek", "Clearwater",   "Stonebridge"};

constexpr const char* kFacilityKinds[] = {"General Hospital",
                                          "Medical Center",
                                          "Family Clinic",
                                          "Orthopedic Associates",
                                          "Cardiology Group",
                                          "Radiology Partners",
                                          "Community Hospital",
                                          "Regional Medical Center",
                                          "Pediatrics",
                                          "Surgical Center",
                                          "Oncology Clinic",
                                          "Internal Medicine",
                                          "Women's Health Center",
                                          "Urgent Care",
                                          "Neurology Associates"};

constexpr const char* kCities[] = {
    "Springfield, IL", "Madison, WI",  "Columbus, OH", "Dayton, OH",     "Albany, NY",
    "Rochester, MN",   "Lansing, MI",  "Spokane, WA",  "Boise, ID",      "Fresno, CA",
    "Tucson, AZ",      "Omaha, NE",    "Wichita, KS",  "Tulsa, OK",      "Knoxville, TN",
    "Raleigh, NC",     "Savannah, GA", "Mobile, AL",   "Shreveport, LA", "El Paso, TX",
    "Reno, NV",        "Eugene, OR",   "Billings, MT", "Fargo, ND",      "Des Moines, IA",
    "Peoria, IL",      "Akron, OH",    "Syracuse, NY", "Hartford, CT",   "Portland, ME"};

constexpr const char* kPartitionNames[] = {"North Region",   "South Region",       "East Region",
                                           "West Region",    "Radiology",          "Cardiology",
                                           "Emergency Care", "Outpatient Clinics", "Night Shift",
                                           "Weekend Team",   "Pathology",          "Surgery"};

} // namespace

std::span<const char* const> firstNames() {
    return kFirstNames;
}

std::span<const char* const> lastNames() {
    return kLastNames;
}

std::span<const char* const> facilityPlaces() {
    return kFacilityPlaces;
}

std::span<const char* const> facilityKinds() {
    return kFacilityKinds;
}

std::span<const char* const> cities() {
    return kCities;
}

std::span<const char* const> partitionNames() {
    return kPartitionNames;
}

} // namespace velora::admin::DemoNames
