// Adder/subtracter core of the adder_subtracter IP. Parameters and ports follow the
// component file; the generated wrapper instantiates this module.
module adder_subtracter_core #(
    parameter integer WIDTH = 16,
    // "add", "subtract" or "add_subtract" (then the add input chooses, 1 adding)
    parameter MODE = "add",
    // registers between the operands and s; 0 makes the core combinational
    parameter integer LATENCY = 1,
    // 1: c_in is a carry in when adding and a borrow in when subtracting
    parameter integer CARRY_IN = 0
) (
    input  wire             clk,
    input  wire [WIDTH-1:0] a,
    input  wire [WIDTH-1:0] b,
    input  wire             add,
    input  wire             c_in,
    output wire [WIDTH-1:0] s
);
    wire             adding = (MODE == "add") || (MODE == "add_subtract" && add);
    wire [WIDTH-1:0] carry  = {{(WIDTH - 1) {1'b0}}, (CARRY_IN != 0) && c_in};
    wire [WIDTH-1:0] result = adding ? a + b + carry : a - b - carry;

    generate
        if (LATENCY == 0) begin : g_comb
            assign s = result;
        end else begin : g_pipe
            reg [WIDTH-1:0] stage[0:LATENCY-1];
            integer i;
            initial for (i = 0; i < LATENCY; i = i + 1) stage[i] = {WIDTH{1'b0}};
            always @(posedge clk) begin
                stage[0] <= result;
                for (i = 1; i < LATENCY; i = i + 1) stage[i] <= stage[i-1];
            end
            assign s = stage[LATENCY-1];
        end
    endgenerate
endmodule
